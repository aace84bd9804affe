#include "json/PercentText.h"

#include <QStringDecoder>

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

namespace {

// Only spaces count here, not other blanks.
QString trimSpaces(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin] == u' ')
        ++begin;
    while (end > begin && s[end - 1] == u' ')
        --end;
    return s.mid(begin, end - begin);
}

} // namespace

QString DecodePercentText(const QString& raw, bool* ok)
{
    *ok = false;
    const QString hex = trimSpaces(QString(raw).remove(u'%'));
    const qsizetype length = hex.size();
    if (length < 2)
        return {};

    // Half the length rounded to even: 3 characters give 2 bytes, 5 give 2, 7 give 4.
    qsizetype byteCount = length / 2;
    if (length % 2 == 1 && byteCount % 2 == 1)
        ++byteCount;

    QByteArray bytes;
    bytes.reserve(byteCount);
    for (qsizetype k = 0; k < byteCount; ++k) {
        int value = 0;
        for (qsizetype i = 2 * k; i < std::min(2 * k + 2, length); ++i) {
            const int digit = hexDigitValue(hex[i]);
            if (digit < 0)
                return {};
            value = value * 16 + digit;
        }
        bytes.append(char(value));
    }
    *ok = true;
    return Utf8ToText(bytes).remove(u'\t');
}

QString Utf8ToText(const QByteArray& bytes)
{
    // Stateless, so a sequence cut short at the end becomes U+FFFD instead of waiting for more
    // bytes; a leading byte-order mark is kept as U+FEFF, like any other character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}
