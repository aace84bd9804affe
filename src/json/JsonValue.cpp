#include "json/JsonValue.h"

bool JsonValue::toBool() const
{
    const bool* b = std::get_if<bool>(&m_value);
    return b && *b;
}

Decimal JsonValue::toDecimal() const
{
    const Decimal* d = std::get_if<Decimal>(&m_value);
    return d ? *d : Decimal();
}

QString JsonValue::toText() const
{
    if (const QString* s = std::get_if<QString>(&m_value))
        return *s;
    if (const Decimal* d = std::get_if<Decimal>(&m_value))
        return d->toString();
    if (const bool* b = std::get_if<bool>(&m_value))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    return {};
}

const JsonList& JsonValue::list() const
{
    static const JsonList none;
    const JsonList* l = std::get_if<JsonList>(&m_value);
    return l ? *l : none;
}

const JsonDict& JsonValue::dict() const
{
    static const JsonDict none;
    const JsonDict* d = std::get_if<JsonDict>(&m_value);
    return d ? *d : none;
}

const JsonValue& JsonValue::value(const QString& key) const
{
    return dict().value(key);
}

const JsonValue& JsonValue::at(qsizetype index) const
{
    static const JsonValue empty;
    const JsonList& l = list();
    return index >= 0 && index < qsizetype(l.size()) ? l[size_t(index)] : empty;
}
