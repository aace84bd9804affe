#pragma once

#include <map>
#include <string>
#include <vector>

// The runs of Google Benchmark JSON outputs, looked up by benchmark name. Figures are medians over
// the repetitions, so one disturbed repetition on a shared machine does not move them.
class BenchResults
{
public:
    // Adds every run of one output file; false with error when it cannot be read.
    bool load(const std::string& file, std::string& error);

    // A name is the benchmark and its argument, for example "BM_DeliverySearch/100000"; the
    // suffixes Google Benchmark adds (iterations, repeats, manual_time) are ignored.
    // Median seconds per iteration; a negative value when absent or failed.
    double seconds(const std::string& name) const;
    // Median of a user counter; a negative value when absent or failed.
    double counter(const std::string& name, const std::string& counter) const;
    // The error a benchmark reported, empty when none.
    std::string error(const std::string& name) const;

private:
    struct Runs
    {
        std::vector<double> seconds;
        std::map<std::string, std::vector<double>> counters;
        std::string error;
    };
    const Runs* find(const std::string& name) const;

    std::map<std::string, Runs> m_runs;
};
