#pragma once

#include <QString>

// The demo databases the benchmarks read. They are made once per run in one folder that every
// benchmark program and child process of the run shares: $SWEEP_BENCH_DATA when set (scripts/bench
// makes a temporary one), otherwise a folder under the system's temporary folder.
namespace BenchData {

QString folder();

// A demo database with the given number of generated deliveries beyond its sample rows, made on
// first use and reused after. Empty when it cannot be made; error then says why.
QString deliveriesDatabase(int deliveries, QString* error = nullptr);

} // namespace BenchData
