#pragma once

#include <QString>
#include <stdexcept>
#include <vector>

// Failures of cStringBuilder. It is the one class in Sweep whose calls throw: an index or length
// outside the used text (code 9), or a size beyond the 32-bit range (code 6). The builder is
// unchanged after either.
class cStringBuilderError : public std::runtime_error
{
public:
    enum Code
    {
        Overflow = 6,
        IndexOutOfRange = 9
    };
    explicit cStringBuilderError(Code code);
    Code code() const { return m_code; }

private:
    Code m_code;
};

// A growable UTF-16 text buffer for building long texts piece by piece. Its capacity grows and
// shrinks in whole chunks (8192 characters unless ChunkSize says otherwise), so appending copies
// the text once per chunk rather than once per call. Lengths and indexes are in UTF-16 code units;
// Insert and Remove count from 0, Find answers 1-based. Sizes are kept within the 32-bit byte
// counts the component has always had (two bytes per character).
class cStringBuilder
{
public:
    static constexpr qint32 DefaultChunkSize = 8192;

    qint32 Length() const { return m_used; }
    qint32 Capacity() const { return qint32(m_buffer.size()); }

    qint32 ChunkSize() const { return m_chunk; }
    // Below 1 is refused (the chunk size stays); a chunk of 2^30 characters or more is an
    // overflow.
    void ChunkSize(qint32 iChunkSize);

    QString toString() const;
    // Replaces the whole content. An empty text frees the buffer; otherwise the capacity only
    // grows.
    void TheString(const QString& sThis);
    // Empties the buffer and frees it; the chunk size stays.
    void Clear();

    void Append(const QString& sThis);
    // Append, then CR LF.
    void AppendNL(const QString& sThis);
    // Inserts before character iIndex, 0 <= iIndex <= Length().
    void Insert(qint32 iIndex, const QString& sThis);
    // Removes lLen characters from iIndex; both must lie within the used text. The capacity stays.
    void Remove(qint32 iIndex, qint32 lLen);

    // 1-based position of the first occurrence that lies wholly within the used text, searching
    // from character lStartIndex (1-based; below 1 means from the start); 0 when there is none.
    // compare 1 ignores case; any other value compares exactly. An empty sToFind is found at the
    // start character when that lies within the used text.
    qint32 Find(const QString& sToFind, qint32 lStartIndex = 0, qint32 compare = 0) const;

    // Gives spare capacity back in whole chunks until at most one chunk is spare.
    void HeapMinimize();

private:
    void reserveFor(qint64 needed);

    std::vector<char16_t> m_buffer; // size() is the capacity; spare characters are blanks
    qint32 m_used = 0;              // characters in use
    qint32 m_chunk = DefaultChunkSize;
};
