#pragma once

#include "db/DbConnection.h"

#include <QStringList>
#include <optional>

// What a database removes or changes by itself when rows of these tables are deleted: foreign
// keys with ON DELETE CASCADE, SET NULL or SET DEFAULT that point at them (SQLite: only while
// its foreign_keys setting is on) and delete triggers on them. Those rows would leave without a
// copy, so a delete with any of them is refused. Each entry names one, e.g.
// "외래 키 AC_TEMP → PE (CASCADE)" or "삭제 트리거 PE_DEL (PE)". None when the catalog could
// not be read (the reasons in errors).
std::optional<QStringList> deleteSideEffects(DbConnection& conn, const QStringList& tables,
                                             DbDiagnostics& errors);
