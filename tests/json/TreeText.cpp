#include "TreeText.h"

QString quotedText(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (const QChar ch : s) {
        if (ch == u'"' || ch == u'\\')
            out += u'\\' + QString(ch);
        else if (ch.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    return out + u'"';
}

QString treeText(const JsonValue& value)
{
    if (value.isEmpty())
        return QStringLiteral("~");
    if (value.isNull())
        return QStringLiteral("null");
    if (value.isBool() || value.isNumber()) // "True", or plain notation without letters
        return value.toText().toLower();
    if (value.isText())
        return quotedText(value.toText());
    QStringList parts;
    if (value.isList()) {
        for (const JsonValue& element : value.list())
            parts << treeText(element);
        return u'[' + parts.join(u',') + u']';
    }
    const JsonDict& dict = value.dict();
    for (qsizetype i = 0; i < dict.size(); ++i)
        parts << quotedText(dict.keyAt(i)) + u':' + treeText(dict.valueAt(i));
    return u'{' + parts.join(u',') + u'}';
}
