#include "core/Cp949.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// ICU's "CP949" is IBM's table (it maps 0x81 0x41 to something other than U+AC02); the
// Microsoft table is "windows-949". Windows uses the system ANSI code page instead.
#ifdef Q_OS_WIN
QStringEncoder makeEncoder()
{
    return QStringEncoder(QStringConverter::System);
}
QStringDecoder makeDecoder()
{
    return QStringDecoder(QStringConverter::System);
}
#else
constexpr const char* kCodec = "windows-949";
QStringEncoder makeEncoder()
{
    return QStringEncoder(kCodec);
}
QStringDecoder makeDecoder()
{
    return QStringDecoder(kCodec);
}
#endif

} // namespace

namespace Cp949 {

QByteArray encode(const QString& text)
{
    // The encoder keeps a high surrogate at the end for a partner that never comes; alone it is
    // a character the code page cannot hold.
    const bool danglingHigh = !text.isEmpty() && text.back().isHighSurrogate();
    auto encoder = makeEncoder();
    QByteArray bytes = encoder.encode(danglingHigh ? text.chopped(1) : text);
    if (danglingHigh) {
        bytes += '?';
    }
    return bytes;
}

QString decode(const QByteArray& bytes)
{
    // The decoder keeps a lead byte at the end for a next call that never comes; a whole text
    // ending in one is malformed, so it becomes U+FFFD instead of vanishing.
    qsizetype last = 0;
    for (qsizetype i = 0; i < bytes.size(); i += charLength(bytes, i)) {
        last = i;
    }
    const bool danglingLead =
        !bytes.isEmpty() && last == bytes.size() - 1 && isLeadByte(bytes.back());
    auto decoder = makeDecoder();
    QString text = decoder.decode(danglingLead ? bytes.chopped(1) : bytes);
    if (danglingLead) {
        text += QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace Cp949
