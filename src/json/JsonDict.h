#pragma once

#include <QHash>
#include <QString>
#include <vector>

class JsonValue;

// A JSON object: unique keys compared case-sensitively, iterated in the order they were inserted.
class JsonDict
{
public:
    JsonDict();
    JsonDict(const JsonDict& other);
    JsonDict(JsonDict&& other) noexcept;
    JsonDict& operator=(const JsonDict& other);
    JsonDict& operator=(JsonDict&& other) noexcept;
    ~JsonDict();

    qsizetype size() const { return qsizetype(m_keys.size()); }
    bool isEmpty() const { return m_keys.empty(); }
    bool contains(const QString& key) const { return find(key) >= 0; }

    // Adds key → value at the end. A key already present keeps its first value and the call
    // returns false.
    bool insert(const QString& key, JsonValue value);

    // The value of key, or the empty value when the key is missing.
    const JsonValue& value(const QString& key) const;

    // Members by insertion order, 0 <= i < size().
    const QString& keyAt(qsizetype i) const { return m_keys[size_t(i)]; }
    const JsonValue& valueAt(qsizetype i) const;

    const std::vector<QString>& keys() const { return m_keys; }

    friend bool operator==(const JsonDict& a, const JsonDict& b);

private:
    // Small objects, the usual kind, are searched in order; a hash is built only for larger ones.
    static constexpr size_t hashedFrom = 16;
    qsizetype find(const QString& key) const;

    std::vector<QString> m_keys;
    std::vector<JsonValue> m_values;
    QHash<QString, qsizetype> m_index;
};
