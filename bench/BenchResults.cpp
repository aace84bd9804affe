#include "BenchResults.h"

#include <algorithm>
#include <fstream>
#include <nlohmann/json.hpp>

namespace {

double median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double secondsPerUnit(const std::string& unit)
{
    if (unit == "ns")
        return 1e-9;
    if (unit == "us")
        return 1e-6;
    if (unit == "ms")
        return 1e-3;
    return 1;
}

// "BM_X/100/iterations:1/repeats:3/process_time" -> "BM_X/100"
std::string baseName(const std::string& runName)
{
    std::string base;
    size_t start = 0;
    while (start <= runName.size()) {
        const size_t end = std::min(runName.find('/', start), runName.size());
        const std::string part = runName.substr(start, end - start);
        if (part.find(':') == std::string::npos && part != "manual_time" && part != "real_time" &&
            part != "process_time")
            base += (base.empty() ? "" : "/") + part;
        start = end + 1;
    }
    return base;
}

} // namespace

bool BenchResults::load(const std::string& file, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        error = file + ": cannot be read";
        return false;
    }
    const nlohmann::json output = nlohmann::json::parse(in, nullptr, false);
    if (output.is_discarded() || !output.contains("benchmarks")) {
        error = file + ": not a benchmark output";
        return false;
    }
    static const std::vector<std::string> standardFields{"name",
                                                         "family_index",
                                                         "per_family_instance_index",
                                                         "run_name",
                                                         "run_type",
                                                         "repetitions",
                                                         "repetition_index",
                                                         "threads",
                                                         "iterations",
                                                         "real_time",
                                                         "cpu_time",
                                                         "time_unit",
                                                         "error_occurred",
                                                         "error_message",
                                                         "bytes_per_second",
                                                         "items_per_second",
                                                         "aggregate_name",
                                                         "aggregate_unit",
                                                         "label"};
    for (const nlohmann::json& run : output["benchmarks"]) {
        if (run.value("run_type", "iteration") != "iteration")
            continue;
        Runs& runs = m_runs[baseName(run.value("run_name", run.value("name", "")))];
        if (run.value("error_occurred", false)) {
            runs.error = run.value("error_message", "failed");
            continue;
        }
        // A manual time is what the benchmark measured itself; otherwise the CPU time, which a
        // shared machine disturbs less than the wall time.
        const bool manual = run.value("name", "").find("manual_time") != std::string::npos;
        runs.seconds.push_back(run.value(manual ? "real_time" : "cpu_time", -1.0) *
                               secondsPerUnit(run.value("time_unit", "ns")));
        for (auto field = run.begin(); field != run.end(); ++field) {
            if (field->is_number() && std::find(standardFields.begin(), standardFields.end(),
                                                field.key()) == standardFields.end())
                runs.counters[field.key()].push_back(field->get<double>());
        }
    }
    return true;
}

const BenchResults::Runs* BenchResults::find(const std::string& name) const
{
    const auto found = m_runs.find(name);
    return found == m_runs.end() ? nullptr : &found->second;
}

double BenchResults::seconds(const std::string& name) const
{
    const Runs* runs = find(name);
    return runs && runs->error.empty() ? median(runs->seconds) : -1;
}

double BenchResults::counter(const std::string& name, const std::string& counter) const
{
    const Runs* runs = find(name);
    if (!runs || !runs->error.empty())
        return -1;
    const auto found = runs->counters.find(counter);
    return found == runs->counters.end() ? -1 : median(found->second);
}

std::string BenchResults::error(const std::string& name) const
{
    const Runs* runs = find(name);
    return runs ? runs->error : "not run";
}
