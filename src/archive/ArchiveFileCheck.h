#pragma once

#include "archive/ArchiveVerifier.h"

#include <QString>

// Reads an archive file whole and checks it (see verifyArchive). A file that cannot be read, or
// one still under its temporary ".part" name, is refused without a line (the latter is still
// read, for a preview).
ArchiveCheck checkArchiveFile(const QString& path);

// The suffix an archive carries until its delete has committed.
inline const QString unfinishedSuffix = QStringLiteral(".part");
