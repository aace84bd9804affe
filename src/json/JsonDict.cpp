#include "json/JsonDict.h"

#include "json/JsonValue.h"

JsonDict::JsonDict() = default;
JsonDict::JsonDict(const JsonDict& other) = default;
JsonDict::JsonDict(JsonDict&& other) noexcept = default;
JsonDict& JsonDict::operator=(const JsonDict& other) = default;
JsonDict& JsonDict::operator=(JsonDict&& other) noexcept = default;
JsonDict::~JsonDict() = default;

bool JsonDict::insert(const QString& key, JsonValue value)
{
    if (m_index.contains(key))
        return false;
    m_index.insert(key, size());
    m_keys.push_back(key);
    m_values.push_back(std::move(value));
    return true;
}

const JsonValue& JsonDict::value(const QString& key) const
{
    static const JsonValue empty;
    const auto it = m_index.constFind(key);
    return it == m_index.cend() ? empty : m_values[size_t(*it)];
}

const JsonValue& JsonDict::valueAt(qsizetype i) const
{
    return m_values[size_t(i)];
}

bool operator==(const JsonDict& a, const JsonDict& b)
{
    return a.m_keys == b.m_keys && a.m_values == b.m_values;
}
