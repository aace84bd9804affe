#include "core/PrivateProfile.h"

#include "core/Cp949.h"

#include <QList>
#include <optional>

// Choices where Windows' behaviour is not on record (each is tested):
// - A line without '=' is not a key: reading it by its bare name gives the default.
// - "key=" reads as the empty text with 0 copied, not as the default.
// - A value cut at bufferSize - 1 bytes backs off to the last whole character, and the count
//   returned is the number of bytes actually copied (253 when a double-byte character straddles
//   byte 254).
// - A quoted value longer than the buffer loses its quotes first and is then cut.
// - A lone quote character is a value of its own, not an empty pair.
// - Replacing a value keeps the line up to and including its '=' (indentation, the key's case,
//   blanks before '='); the old value and the blanks around it give way to the new value as
//   given. The line keeps its own line end; a last line without one gets CR LF.
// - Writing the value a key already holds (same bytes after '=', blanks aside) leaves the file
//   untouched.
// - A new key goes after the section's last entry (key line or line without '='), so blank lines
//   and comments that end the section stay after it; a section without entries gets it right
//   under its header.
// - New text always ends its lines in CR LF, even in a file that uses LF alone.
// - A UTF-16 byte-order mark is not looked for: the tool only ever has ANSI files, so such a
//   file is read as bytes (and finds nothing).
namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

// Blanks never occur as the second byte of a double-byte character, so byte-wise trimming is
// safe over CP949.
QByteArray trimBlanks(const QByteArray& bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes.at(begin))) {
        ++begin;
    }
    while (end > begin && isBlank(bytes.at(end - 1))) {
        --end;
    }
    return bytes.mid(begin, end - begin);
}

// Section and key arguments lose only leading and trailing spaces; TAB and the rest stay.
QByteArray trimSpaces(const QByteArray& bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && bytes.at(begin) == ' ') {
        ++begin;
    }
    while (end > begin && bytes.at(end - 1) == ' ') {
        --end;
    }
    return bytes.mid(begin, end - begin);
}

QByteArray trimTrailingSpaces(QByteArray bytes)
{
    while (!bytes.isEmpty() && bytes.back() == ' ') {
        bytes.chop(1);
    }
    return bytes;
}

QByteArray stripQuotes(const QByteArray& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

PrivateProfile::ReadResult copyToBuffer(const QByteArray& value, int bufferSize)
{
    if (bufferSize <= 0) {
        return {};
    }
    const qsizetype limit = bufferSize - 1;
    if (value.size() <= limit) {
        return {value, static_cast<int>(value.size())};
    }
    qsizetype cut = 0;
    while (cut + Cp949::charLength(value, cut) <= limit) {
        cut += Cp949::charLength(value, cut);
    }
    return {value.left(cut), static_cast<int>(cut)};
}

struct Line
{
    enum class Kind
    {
        Blank,
        Section,
        Comment,
        Key,  // name=value
        Bare, // text without '='
    };
    Kind kind = Kind::Blank;
    qsizetype begin = 0;      // first byte
    qsizetype end = 0;        // one past the last byte before the line end
    qsizetype next = 0;       // first byte of the next line
    qsizetype valueBegin = 0; // Key: the byte after '='
    QByteArray name;          // Section and Key, blanks trimmed
};

// The first c in [from, end), or end; never looks past the line.
qsizetype findInLine(const QByteArray& file, char c, qsizetype from, qsizetype end)
{
    while (from < end && file.at(from) != c) {
        ++from;
    }
    return from;
}

Line classify(const QByteArray& file, qsizetype begin, qsizetype end)
{
    Line line;
    line.begin = begin;
    line.end = end;
    qsizetype p = begin;
    while (p < end && isBlank(file.at(p))) {
        ++p;
    }
    if (p == end) {
        line.kind = Line::Kind::Blank;
    } else if (file.at(p) == '[') {
        // The name ends at the first ']'; a missing ']' still makes a header.
        line.kind = Line::Kind::Section;
        const qsizetype nameEnd = findInLine(file, ']', p + 1, end);
        line.name = trimBlanks(file.mid(p + 1, nameEnd - p - 1));
    } else if (file.at(p) == ';') {
        line.kind = Line::Kind::Comment;
    } else {
        const qsizetype eq = findInLine(file, '=', p, end);
        if (eq < end) {
            line.kind = Line::Kind::Key;
            line.name = trimBlanks(file.mid(p, eq - p));
            line.valueBegin = eq + 1;
        } else {
            line.kind = Line::Kind::Bare;
        }
    }
    return line;
}

// CR LF, CR alone and LF alone each end a line.
QList<Line> splitLines(const QByteArray& file)
{
    QList<Line> lines;
    qsizetype pos = 0;
    const qsizetype size = file.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && file.at(end) != kCr && file.at(end) != kLf) {
            ++end;
        }
        Line line = classify(file, pos, end);
        qsizetype next = end;
        if (next < size) {
            next += file.at(next) == kCr && next + 1 < size && file.at(next + 1) == kLf ? 2 : 1;
        }
        line.next = next;
        lines.append(line);
        pos = next;
    }
    return lines;
}

// Only the first section of a name counts; key lines before any section belong to none.
std::optional<qsizetype> findSection(const QList<Line>& lines, const QByteArray& section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == Line::Kind::Section &&
            PrivateProfile::sameName(lines[i].name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

struct SectionScan
{
    std::optional<qsizetype> key;       // first key line of the name
    std::optional<qsizetype> lastEntry; // last key line or line without '='
};

SectionScan scanSection(const QList<Line>& lines, qsizetype header, const QByteArray& key)
{
    SectionScan scan;
    for (qsizetype i = header + 1; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.kind == Line::Kind::Section) {
            break;
        }
        if (line.kind == Line::Kind::Key || line.kind == Line::Kind::Bare) {
            scan.lastEntry = i;
        }
        if (!scan.key && line.kind == Line::Kind::Key && PrivateProfile::sameName(line.name, key)) {
            scan.key = i;
        }
    }
    return scan;
}

} // namespace

namespace PrivateProfile {

bool sameName(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    qsizetype i = 0;
    while (i < a.size()) {
        const qsizetype len = Cp949::charLength(a, i);
        if (len == 2) {
            // A trail byte that looks like a letter is part of a Hangul syllable: compare exactly.
            if (a.at(i) != b.at(i) || a.at(i + 1) != b.at(i + 1)) {
                return false;
            }
        } else {
            auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
            if (fold(a.at(i)) != fold(b.at(i))) {
                return false;
            }
        }
        i += len;
    }
    return true;
}

ReadResult read(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                const QByteArray& defaultValue, int bufferSize)
{
    const QList<Line> lines = splitLines(file);
    if (const auto header = findSection(lines, trimSpaces(section))) {
        const SectionScan scan = scanSection(lines, *header, trimSpaces(key));
        if (scan.key) {
            const Line& line = lines[*scan.key];
            const QByteArray raw = file.mid(line.valueBegin, line.end - line.valueBegin);
            return copyToBuffer(stripQuotes(trimBlanks(raw)), bufferSize);
        }
    }
    // The default keeps its quotes and leading blanks; only trailing spaces go.
    return copyToBuffer(trimTrailingSpaces(defaultValue), bufferSize);
}

QByteArray write(const QByteArray& file, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value)
{
    static const QByteArray crlf("\r\n");
    const QByteArray sectionName = trimSpaces(section);
    const QByteArray keyName = trimSpaces(key);
    const QByteArray entry = keyName + '=' + value + crlf;
    const QList<Line> lines = splitLines(file);

    const auto header = findSection(lines, sectionName);
    if (!header) {
        QByteArray out = file;
        if (!out.isEmpty() && out.back() != kCr && out.back() != kLf) {
            out += crlf;
        }
        return out + '[' + sectionName + ']' + crlf + entry;
    }

    const SectionScan scan = scanSection(lines, *header, keyName);
    if (scan.key) {
        const Line& line = lines[*scan.key];
        const bool hasLineEnd = line.next > line.end;
        const QByteArray old = file.mid(line.valueBegin, line.end - line.valueBegin);
        if (hasLineEnd && trimBlanks(old) == value) {
            return file;
        }
        return file.left(line.valueBegin) + value + (hasLineEnd ? QByteArray() : crlf) +
               file.mid(line.end);
    }

    const Line& anchor = lines[scan.lastEntry.value_or(*header)];
    const QByteArray lineEnd = anchor.next > anchor.end ? QByteArray() : crlf;
    return file.left(anchor.next) + lineEnd + entry + file.mid(anchor.next);
}

} // namespace PrivateProfile
