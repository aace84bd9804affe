#include "archive/ArchivePreview.h"

#include "archive/ArchiveFileCheck.h"

namespace {

QString shownValue(const ArchiveStatement::Value& value)
{
    using Type = ArchiveStatement::Value::Type;
    switch (value.type) {
    case Type::Null:
        return QString();
    case Type::Binary:
        return QStringLiteral("0x") + QString::fromLatin1(value.bytes.toHex().toUpper());
    case Type::TextBytes:
        return QString::fromUtf8(value.bytes);
    case Type::Number:
    case Type::Text:
        break;
    }
    return value.text;
}

void fillTables(const ArchiveCheck& check, ArchivePreview& preview)
{
    const ArchiveHeader& h = check.header;
    for (qsizetype t = 0; t < h.tables.size(); ++t)
        preview.tables.emplace_back(h.tables[t], TextTable());
    std::vector<int> filled(h.tables.size(), 0);
    for (const ArchiveStatementRef& s : check.statements) {
        if (s.kind != ArchiveStatement::Kind::Insert)
            continue;
        const ArchiveStatement::Result r =
            ArchiveStatement::parse(check.text, s.start, h.dialect, true);
        TextTable& table = preview.tables[s.table].second;
        int& row = filled[s.table];
        if (row == 0) {
            table.reset(int(check.rowsPerTable[s.table].second) + 1, r.parsed.columnCount);
            for (int c = 0; c < r.parsed.columnCount; ++c)
                table.setCell(0, c, r.parsed.columns[c]);
        }
        ++row;
        for (size_t c = 0; c < r.parsed.values.size(); ++c)
            table.setCell(row, int(c), shownValue(r.parsed.values[c]));
    }
}

} // namespace

ArchivePreview previewArchive(const QString& path, ArchivePreviewDetail detail)
{
    const ArchiveCheck check = checkArchiveFile(path);
    ArchivePreview preview;
    preview.file = path;
    preview.headerRead = check.headerRead;
    preview.header = check.header;
    preview.finished = check.finished;
    preview.restorable = check.verified;
    preview.refusal = check.refusalText();
    preview.rowsPerTable = check.rowsPerTable;
    preview.rows = check.rows;
    if (detail == ArchivePreviewDetail::Rows && check.headerRead)
        fillTables(check, preview);
    return preview;
}
