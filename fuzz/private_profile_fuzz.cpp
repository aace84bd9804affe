// Feeds arbitrary bytes to the private-profile reader and writer. The first bytes choose the
// buffer size and the section, key and value; the rest is the file. Besides "no crash, no hang":
// - a read copies at most bufferSize - 1 bytes, never half of a double-byte character;
// - a write changes at most one line: the bytes it drops hold no line end, everything before and
//   after them is kept;
// - for names and values an INI file can hold, a read after the write gives the value back, and
//   writing the same value again leaves the file untouched.
#include "core/Cp949.h"
#include "core/PrivateProfile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// Takes the next n bytes (fewer at the end of the input).
QByteArray take(const uint8_t*& data, size_t& size, size_t n)
{
    n = std::min(n, size);
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(n));
    data += n;
    size -= n;
    return bytes;
}

bool wholeCharacters(const QByteArray& bytes)
{
    qsizetype i = 0;
    while (i < bytes.size())
        i += Cp949::charLength(bytes, i);
    return i == bytes.size();
}

// Section and key names that a header or a key line can carry as they are.
bool plainName(const QByteArray& name)
{
    if (name.isEmpty())
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '.';
    });
}

// A value that reads back byte for byte: one line, no blanks at its ends, no enclosing quotes,
// short enough for the buffer.
bool plainValue(const QByteArray& value)
{
    if (value.size() > 254 || value.contains('\r') || value.contains('\n'))
        return false;
    if (!value.isEmpty()) {
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v'; };
        if (blank(value.front()) || blank(value.back()))
            return false;
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            return false;
    }
    return true;
}

// file = kept prefix + dropped + kept suffix, out = kept prefix + added + kept suffix.
void checkOneLineChanged(const QByteArray& file, const QByteArray& out)
{
    const qsizetype shorter = std::min(file.size(), out.size());
    qsizetype prefix = 0;
    while (prefix < shorter && file.at(prefix) == out.at(prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           file.at(file.size() - 1 - suffix) == out.at(out.size() - 1 - suffix))
        ++suffix;
    const QByteArray dropped = file.mid(prefix, file.size() - prefix - suffix);
    check(!dropped.contains('\r') && !dropped.contains('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const int bufferSize = data[0] == 0 ? 255 : int(data[0]);
    const size_t sectionLength = data[1] % 12;
    const size_t keyLength = data[2] % 12;
    const size_t valueLength = data[3] % 64;
    data += 4;
    size -= 4;
    const QByteArray section = take(data, size, sectionLength);
    const QByteArray key = take(data, size, keyLength);
    const QByteArray value = take(data, size, valueLength);
    const QByteArray file = take(data, size, size);

    const PrivateProfile::ReadResult before =
        PrivateProfile::read(file, section, key, value, bufferSize);
    check(before.copied == before.value.size());
    check(before.value.size() <= bufferSize - 1);
    check(wholeCharacters(before.value));

    const QByteArray out = PrivateProfile::write(file, section, key, value);
    checkOneLineChanged(file, out);

    check(PrivateProfile::sameName(section, section));
    check(PrivateProfile::sameName(section, key) == PrivateProfile::sameName(key, section));

    if (plainName(section) && plainName(key) && plainValue(value)) {
        const PrivateProfile::ReadResult after =
            PrivateProfile::read(out, section, key, QByteArrayLiteral("#default#"), 255);
        check(after.value == value);
        check(PrivateProfile::write(out, section, key, value) == out);
    }
    return 0;
}
