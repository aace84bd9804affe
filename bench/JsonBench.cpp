// ReadJson against nlohmann::json on the same service-like answer, at 100 KB, 1 MB and 10 MB.

#include "ServiceAnswer.h"
#include "json/JsonReader.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

namespace {

// ReadJson takes the text as the agent holds it after decoding the HTTP body.
void BM_ReadJson(benchmark::State& state)
{
    const std::string utf8 = serviceAnswer(size_t(state.range(0)));
    const QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    JsonReader reader;
    {
        const JsonValue answer = reader.ReadJson(text);
        if (!reader.JsonErrors().isEmpty() || !answer.value(QStringLiteral("orders")).isList()) {
            state.SkipWithError(qPrintable(QStringLiteral("ReadJson: ") + reader.JsonErrors()));
            return;
        }
    }
    for (auto _ : state) {
        JsonValue answer = reader.ReadJson(text);
        benchmark::DoNotOptimize(answer);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(utf8.size()));
}

void BM_NlohmannParse(benchmark::State& state)
{
    const std::string text = serviceAnswer(size_t(state.range(0)));
    if (!nlohmann::json::accept(text)) {
        state.SkipWithError("nlohmann::json does not accept the answer");
        return;
    }
    for (auto _ : state) {
        nlohmann::json answer = nlohmann::json::parse(text);
        benchmark::DoNotOptimize(answer);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * qint64(text.size()));
}

void sizes(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20);
}

BENCHMARK(BM_ReadJson)->Apply(sizes);
BENCHMARK(BM_NlohmannParse)->Apply(sizes);

} // namespace

BENCHMARK_MAIN();
