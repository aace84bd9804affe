#include "json/cStringBuilder.h"

#include <cstring>
#include <limits>

namespace {

// Byte counts of the buffer are 32-bit, two bytes to a character.
constexpr qint64 MaxCharacters = std::numeric_limits<qint32>::max() / 2;

} // namespace

cStringBuilderError::cStringBuilderError(Code code)
    : std::runtime_error(code == IndexOutOfRange ? "index out of range" : "overflow"), m_code(code)
{
}

void cStringBuilder::ChunkSize(qint32 iChunkSize)
{
    if (iChunkSize < 1)
        return; // growth could never reach the size it needs
    if (iChunkSize > MaxCharacters)
        throw cStringBuilderError(cStringBuilderError::Overflow);
    m_chunk = iChunkSize;
}

QString cStringBuilder::toString() const
{
    if (m_used == 0)
        return {};
    return QString(reinterpret_cast<const QChar*>(m_buffer.data()), m_used);
}

void cStringBuilder::reserveFor(qint64 needed)
{
    const qint64 capacity = Capacity();
    if (needed <= capacity)
        return;
    const qint64 chunks = (needed - capacity + m_chunk - 1) / m_chunk;
    const qint64 grown = capacity + chunks * m_chunk;
    if (grown > MaxCharacters)
        throw cStringBuilderError(cStringBuilderError::Overflow);
    // Capacity() counts whole chunks, but the storage beneath grows geometrically: growing it by
    // exactly one chunk copied the whole text again for every chunk appended.
    m_buffer.resize(size_t(grown), u' ');
}

void cStringBuilder::TheString(const QString& sThis)
{
    if (sThis.isEmpty()) {
        Clear();
        return;
    }
    reserveFor(sThis.size());
    std::memmove(m_buffer.data(), sThis.utf16(), size_t(sThis.size()) * sizeof(char16_t));
    m_used = qint32(sThis.size());
}

void cStringBuilder::Clear()
{
    m_buffer = {};
    m_used = 0;
}

void cStringBuilder::Append(const QString& sThis)
{
    const qint64 n = sThis.size();
    if (n == 0)
        return;
    // Builders are fed many short pieces: keep the call cheap when the piece fits.
    if (m_used + n > Capacity())
        reserveFor(m_used + n);
    char16_t* at = m_buffer.data() + m_used;
    if (n == 1)
        *at = sThis.front().unicode();
    else
        std::memcpy(at, sThis.constData(), size_t(n) * sizeof(char16_t));
    m_used += qint32(n);
}

void cStringBuilder::AppendNL(const QString& sThis)
{
    // Checked as a whole so that an overflow leaves neither part behind.
    reserveFor(qint64(m_used) + sThis.size() + 2);
    Append(sThis);
    Append(QStringLiteral("\r\n"));
}

void cStringBuilder::Insert(qint32 iIndex, const QString& sThis)
{
    if (iIndex < 0 || iIndex > m_used)
        throw cStringBuilderError(cStringBuilderError::IndexOutOfRange);
    if (sThis.isEmpty())
        return;
    const qint64 n = sThis.size();
    reserveFor(m_used + n);
    char16_t* data = m_buffer.data();
    std::memmove(data + iIndex + n, data + iIndex, size_t(m_used - iIndex) * sizeof(char16_t));
    std::memmove(data + iIndex, sThis.utf16(), size_t(n) * sizeof(char16_t));
    m_used += qint32(n);
}

void cStringBuilder::Remove(qint32 iIndex, qint32 lLen)
{
    if (iIndex < 0 || lLen < 0 || iIndex > m_used || qint64(iIndex) + lLen > m_used)
        throw cStringBuilderError(cStringBuilderError::IndexOutOfRange);
    char16_t* data = m_buffer.data();
    const qint32 tail = m_used - iIndex - lLen;
    if (tail > 0)
        std::memmove(data + iIndex, data + iIndex + lLen, size_t(tail) * sizeof(char16_t));
    m_used -= lLen;
}

qint32 cStringBuilder::Find(const QString& sToFind, qint32 lStartIndex, qint32 compare) const
{
    const qint32 start = lStartIndex >= 1 ? lStartIndex : 1;
    if (start > m_used)
        return 0;
    const QStringView used(m_buffer.data(), m_used);
    const Qt::CaseSensitivity cs = compare == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    const qsizetype found = used.indexOf(sToFind, start - 1, cs);
    return found < 0 ? 0 : qint32(found + 1);
}

void cStringBuilder::HeapMinimize()
{
    const qint64 excess = qint64(Capacity()) - m_used - m_chunk;
    if (excess <= 0)
        return;
    const qint64 chunks = (excess + m_chunk - 1) / m_chunk;
    m_buffer.resize(size_t(Capacity() - chunks * m_chunk));
    m_buffer.shrink_to_fit();
}
