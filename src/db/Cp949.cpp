#include "db/Cp949.h"

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
    auto encoder = makeEncoder();
    QByteArray bytes = encoder.encode(text);
    return bytes;
}

QString decode(const QByteArray& bytes)
{
    auto decoder = makeDecoder();
    QString text = decoder.decode(bytes);
    return text;
}

} // namespace Cp949
