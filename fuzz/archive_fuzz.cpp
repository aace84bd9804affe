// Feeds arbitrary bytes to the archive check a restore runs before it sends anything. Besides
// "no crash, no hang":
// - a file is verified exactly when no refusal is given;
// - every statement that passed is one of the writer's two kinds, ends in ";" and CR LF, and an
//   independent splitter finds exactly one statement in it: nothing can ride along;
// - reading the same statement with its values decoded ends at the same place.
#include "archive/ArchiveVerifier.h"
#include "db/ScriptSplitter.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ArchiveCheck archive =
        verifyArchive(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    check(archive.verified == archive.refusal.isEmpty());
    for (const ArchiveStatementRef& s : archive.statements) {
        const QStringView statement = archive.statement(s);
        check(statement.endsWith(u";\r\n"));
        check(statement.startsWith(u"INSERT INTO ") ||
              statement.startsWith(u"SET IDENTITY_INSERT "));
        int pieces = 0;
        ScriptSplitter splitter([&](const QString& piece) {
            pieces += ScriptSplitter::code(piece).isEmpty() ? 0 : 1;
            return true;
        });
        splitter.feed(statement);
        splitter.finish();
        check(pieces == 1);
        const ArchiveStatement::Result again =
            ArchiveStatement::parse(archive.text, s.start, archive.header.dialect, true);
        check(again.ok && again.parsed.end == s.start + s.length);
    }
    return 0;
}
