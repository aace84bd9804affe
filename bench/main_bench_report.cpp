// Turns the benchmark programs' JSON outputs into the table of ratios: printed, and written with
// the machine and the date into BENCHMARKS.md.
//
//     bench_report --out BENCHMARKS.md --machine "..." --date "..." --notes bench/FINDINGS.md
//                  listing_bench.json startup_bench.json ...

#include "BenchResults.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    std::string figure;
    std::string measured;
    std::string baseline;
    double ratio = -1; // negative: not measured
    double goal = 0;
    std::string meaning;
    std::string missing; // why there is no ratio
};

std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::string timeText(double seconds)
{
    if (seconds < 0)
        return "–";
    if (seconds < 1e-3)
        return format("%.1f µs", seconds * 1e6);
    if (seconds < 1)
        return format("%.1f ms", seconds * 1e3);
    return format("%.2f s", seconds);
}

std::string megabytes(double bytes)
{
    return bytes < 0 ? "–" : format("%.1f MB", bytes / 1e6);
}

// subject against baseline, both times of the same run.
Row timeRatio(const BenchResults& r, std::string figure, const std::string& subject,
              const std::string& baseline, double goal, std::string meaning)
{
    Row row{std::move(figure),
            timeText(r.seconds(subject)),
            timeText(r.seconds(baseline)),
            -1,
            goal,
            std::move(meaning),
            {}};
    if (r.seconds(subject) > 0 && r.seconds(baseline) > 0)
        row.ratio = r.seconds(subject) / r.seconds(baseline);
    else
        row.missing = r.error(r.seconds(subject) > 0 ? baseline : subject);
    return row;
}

double scaledGrowth(const BenchResults& r, const std::string& small, const std::string& large,
                    double sizeSmall, double sizeLarge)
{
    if (r.seconds(small) <= 0 || r.seconds(large) <= 0 || sizeSmall <= 0 || sizeLarge <= 0)
        return -1;
    return r.seconds(large) / r.seconds(small) * 10 / (sizeLarge / sizeSmall);
}

// The time for the larger input against the time for one tenth of it, scaled to exactly ten
// times the input (the sizes are not exactly ten apart): linear growth reads 10. The baseline
// column shows how the baseline program grows over the same inputs, which tells growth that
// comes from the data (caches, the database's plan) from growth that comes from our code; the
// rest is the subject's time less the baseline's.
Row growth(const BenchResults& r, std::string figure, const std::string& small,
           const std::string& large, const std::string& baselineSmall,
           const std::string& baselineLarge, double sizeSmall, double sizeLarge, double goal,
           std::string meaning)
{
    const double reference = scaledGrowth(r, baselineSmall, baselineLarge, sizeSmall, sizeLarge);
    std::string baselineText = reference < 0 ? "–" : format("grows %.2f×", reference);
    // What the subject adds to the baseline, on its own.
    const double addedSmall = r.seconds(small) - r.seconds(baselineSmall);
    const double addedLarge = r.seconds(large) - r.seconds(baselineLarge);
    if (reference >= 0 && addedSmall > 0 && addedLarge > 0)
        baselineText += format("; the rest grows %.2f×",
                               addedLarge / addedSmall * 10 / (sizeLarge / sizeSmall));
    Row row{std::move(figure),
            timeText(r.seconds(small)) + " → " + timeText(r.seconds(large)),
            std::move(baselineText),
            scaledGrowth(r, small, large, sizeSmall, sizeLarge),
            goal,
            std::move(meaning),
            {}};
    if (row.ratio < 0)
        row.missing = r.error(r.seconds(small) > 0 ? large : small);
    return row;
}

std::vector<Row> rows(const BenchResults& r)
{
    std::vector<Row> rows;
    rows.push_back(timeRatio(
        r, "Unfinished-deliveries search, 100,000 deliveries", "BM_DeliverySearch/100000",
        "BM_BareSqliteFetch/100000", 1.3,
        "DB_Query + FillResultGrid + the grid's paint, against the bare SQLite C API fetch of the "
        "same rows into std::string."));
    const auto rowsOf = [&](int deliveries) {
        return r.counter("BM_DeliverySearch/" + std::to_string(deliveries), "rows");
    };
    rows.push_back(growth(
        r, "Search growth, 10,000 → 100,000 deliveries", "BM_DeliverySearch/10000",
        "BM_DeliverySearch/100000", "BM_BareSqliteFetch/10000", "BM_BareSqliteFetch/100000",
        rowsOf(10000), rowsOf(100000), 10.5,
        "The search's time for 10× the listed rows (scaled to exactly 10×); "
        "linear growth reads 10×. The baseline column is the bare SQLite fetch's own growth."));
    rows.push_back(growth(r, "Search growth, 100,000 → 1,000,000 deliveries",
                          "BM_DeliverySearch/100000", "BM_DeliverySearch/1000000",
                          "BM_BareSqliteFetch/100000", "BM_BareSqliteFetch/1000000", rowsOf(100000),
                          rowsOf(1000000), 10.5, "The same from 100,000 to 1,000,000 deliveries."));
    rows.push_back(timeRatio(
        r, "Start of `sweep --demo` until the window painted", "BM_SweepDemoStart",
        "BM_EmptyWindowStart", 1.5,
        "CPU time (user and system) of the whole process from its start to its exit after the "
        "first paint, against a bare Qt program that shows an empty window and ends after its "
        "first paint. The wall times are in the raw results (wall_seconds)."));
    rows.push_back(timeRatio(
        r, "Reference: start of the empty window with one Korean caption", "BM_CaptionWindowStart",
        "BM_EmptyWindowStart", 0,
        "No goal: what drawing any Korean text (font database, one font engine, shaping) adds to "
        "the bare program; sweep draws dozens of captions in several fonts."));
    rows.push_back(timeRatio(r, "`ReadJson`, 1 MB service-like answer", "BM_ReadJson/1048576",
                             "BM_NlohmannParse/1048576", 1.0,
                             "ReadJson on the answer as a QString, against nlohmann::json::parse "
                             "on the same text as UTF-8."));
    rows.push_back(
        growth(r, "`ReadJson` growth, 100 KB → 1 MB", "BM_ReadJson/102400", "BM_ReadJson/1048576",
               "BM_NlohmannParse/102400", "BM_NlohmannParse/1048576", 102400, 1048576, 10.5,
               "ReadJson's time for 10× the text (scaled to exactly 10×); the baseline column is "
               "nlohmann::json's own growth."));
    rows.push_back(growth(r, "`ReadJson` growth, 1 MB → 10 MB", "BM_ReadJson/1048576",
                          "BM_ReadJson/10485760", "BM_NlohmannParse/1048576",
                          "BM_NlohmannParse/10485760", 1048576, 10485760, 10.5,
                          "The same from 1 MB to 10 MB."));
    rows.push_back(timeRatio(r, "`cStringBuilder`, 1,000,000 one-character appends + toString",
                             "BM_BuilderAppend", "BM_U16StringPushBack", 1.5,
                             "Append of ready one-character QStrings and the final toString, "
                             "against push_back on a std::u16string."));

    rows.push_back(timeRatio(
        r, "Archive + delete of about 100,000 unfinished deliveries", "BM_DeliveryArchivedDelete",
        "BM_DeliveryDeleteAlone", 2.0,
        "The delete with its archive (rows streamed into the sealed file, its fsync, the delete, "
        "the count check and the commit, then the new name) against the same delete alone, each "
        "on a fresh copy of a demo database with 400,000 generated deliveries."));
    rows.push_back(timeRatio(
        r, "Reference: restore of the same archive", "BM_DeliveryRestore", "BM_DeliveryDeleteAlone",
        0,
        "No goal: the whole file checked (every statement, the counts, the SHA-256), then its "
        "rows put back in one transaction, against the delete alone."));

    const std::string memory = "BM_ListingPeakMemory/100000";
    const double empty = r.counter(memory, "empty_window_bytes");
    const double listing = r.counter(memory, "listing_bytes");
    const double table = r.counter(memory, "table_bytes");
    Row peak{"Peak memory of the 100,000-delivery listing",
             megabytes(listing) + " (empty window " + megabytes(empty) + ")",
             megabytes(table) + " of text",
             -1,
             3.0,
             "Peak resident size of a process that lists the search, less that of the same "
             "process showing the empty grid, against the UTF-16 bytes of every text the search "
             "returned.",
             {}};
    if (empty > 0 && listing > 0 && table > 0)
        peak.ratio = (listing - empty) / table;
    else
        peak.missing = r.error(memory);
    rows.push_back(peak);
    return rows;
}

std::string table(const std::vector<Row>& rows)
{
    std::ostringstream out;
    out << "| Figure | Measured | Baseline | Ratio | Goal | Met |\n";
    out << "|---|---|---|---|---|---|\n";
    for (const Row& row : rows) {
        out << "| " << row.figure << " | " << row.measured << " | " << row.baseline << " | ";
        const std::string goal = row.goal > 0 ? "≤ " + format("%.1f×", row.goal) : "–";
        if (row.ratio < 0)
            out << "not measured (" << row.missing << ") | " << goal << " | – |\n";
        else if (row.goal <= 0)
            out << format("%.2f×", row.ratio) << " | – | – |\n";
        else
            out << format("%.2f×", row.ratio) << " | " << goal << " | "
                << (row.ratio <= row.goal ? "yes" : "**no**") << " |\n";
    }
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    std::string outFile;
    std::string notesFile;
    std::string machine = "unknown";
    std::string date = "unknown";
    BenchResults results;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if ((argument == "--out" || argument == "--machine" || argument == "--date" ||
             argument == "--notes") &&
            i + 1 < argc) {
            (argument == "--out"       ? outFile
             : argument == "--machine" ? machine
             : argument == "--notes"   ? notesFile
                                       : date) = argv[++i];
            continue;
        }
        std::string error;
        if (!results.load(argument, error))
            std::cerr << "bench_report: " << error << "\n";
    }

    const std::vector<Row> figures = rows(results);
    const std::string text = table(figures);
    std::cout << text;
    if (outFile.empty())
        return 0;

    std::ofstream out(outFile);
    out << "# Benchmarks\n\n"
        << "Written by `scripts/bench` on every run; do not edit by hand. Each ratio compares two "
           "times (or sizes) measured in the same run on the same machine, so it holds where "
           "absolute times do not. Times are CPU times, medians over the repetitions: the machine "
           "may be shared, and waiting for a core is no cost of the code measured. The raw "
           "results stay in build-bench/bench-results/.\n\n"
        << "- Machine: " << machine << "\n"
        << "- Date: " << date << "\n\n"
        << text << "\n## What each figure means\n\n";
    for (const Row& row : figures)
        out << "- **" << row.figure << "**: " << row.meaning << "\n";
    // What the profiles say about the figures that miss, kept beside the benchmarks.
    if (std::ifstream notes{notesFile}; !notesFile.empty() && notes)
        out << "\n" << notes.rdbuf();
    if (!out) {
        std::cerr << "bench_report: cannot write " << outFile << "\n";
        return 1;
    }
    return 0;
}
