#pragma once

#include <QByteArray>
#include <QString>

// The ANSI code page of the Korean Windows systems the tool serves (code page 949, Unified Hangul
// Code). IP.ini and the log files are in it.
namespace Cp949 {

// Characters the code page cannot hold become '?', as the Windows ANSI conversion writes them.
QByteArray encode(const QString& text);
// Malformed byte sequences become U+FFFD.
QString decode(const QByteArray& bytes);

// 0x81-0xFE starts a double-byte character; its second byte may be 0x41-0x5A, 0x61-0x7A or
// 0x81-0xFE, so a trail byte can look like an ASCII letter.
constexpr bool isLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x81 && b <= 0xFE;
}

// Length in bytes of the character starting at pos: 2 for a lead byte that has a byte after
// it, else 1.
inline qsizetype charLength(const QByteArray& bytes, qsizetype pos)
{
    return isLeadByte(bytes.at(pos)) && pos + 1 < bytes.size() ? 2 : 1;
}

} // namespace Cp949
