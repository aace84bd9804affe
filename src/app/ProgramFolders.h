#pragma once

#include <QString>

// Where sweep keeps its files. Elsewhere than on Windows they live in the user's home folder;
// a process without a usable one (cron's or a service's empty environment, a home that is not
// there or cannot be written) uses the folder beside the executable, as IP.ini does, and never
// the file-system root.
namespace ProgramFolders {

// The activity log's folder (its archive/ inside).
QString logFolder();
// The demo database --demo opens without a file.
QString defaultDemoFile();

} // namespace ProgramFolders
