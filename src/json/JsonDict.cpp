#include "json/JsonDict.h"

#include "json/JsonValue.h"

JsonDict::JsonDict() = default;
JsonDict::JsonDict(const JsonDict& other) = default;
JsonDict::JsonDict(JsonDict&& other) noexcept = default;
JsonDict& JsonDict::operator=(const JsonDict& other) = default;
JsonDict& JsonDict::operator=(JsonDict&& other) noexcept = default;
JsonDict::~JsonDict() = default;

qsizetype JsonDict::find(const QString& key) const
{
    if (m_keys.size() < hashedFrom) {
        for (size_t i = 0; i < m_keys.size(); ++i) {
            if (m_keys[i] == key)
                return qsizetype(i);
        }
        return -1;
    }
    return m_index.value(key, -1);
}

bool JsonDict::insert(const QString& key, JsonValue value)
{
    if (find(key) >= 0)
        return false;
    m_keys.push_back(key);
    m_values.push_back(std::move(value));
    if (m_keys.size() == hashedFrom) {
        for (size_t i = 0; i < m_keys.size(); ++i)
            m_index.insert(m_keys[i], qsizetype(i));
    } else if (m_keys.size() > hashedFrom) {
        m_index.insert(key, size() - 1);
    }
    return true;
}

const JsonValue& JsonDict::value(const QString& key) const
{
    static const JsonValue empty;
    const qsizetype i = find(key);
    return i < 0 ? empty : m_values[size_t(i)];
}

const JsonValue& JsonDict::valueAt(qsizetype i) const
{
    return m_values[size_t(i)];
}

bool operator==(const JsonDict& a, const JsonDict& b)
{
    return a.m_keys == b.m_keys && a.m_values == b.m_values;
}
