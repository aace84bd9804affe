// 1,000,000 single-character appends to cStringBuilder, then toString, against push_back on a
// std::u16string.

#include "json/cStringBuilder.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr int appends = 1000000;
constexpr std::u16string_view alphabet = u"abcdefghijklmnopqrstuvwxyz가나다라마바";

// The one-character texts are made once: the figure is the builder's append, not QString's
// construction.
void BM_BuilderAppend(benchmark::State& state)
{
    std::array<QString, alphabet.size()> pieces;
    for (size_t i = 0; i < alphabet.size(); ++i)
        pieces[i] = QString(QChar(alphabet[i]));
    for (auto _ : state) {
        cStringBuilder builder;
        for (int i = 0; i < appends; ++i)
            builder.Append(pieces[size_t(i) % pieces.size()]);
        QString text = builder.toString();
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetItemsProcessed(qint64(state.iterations()) * appends);
}

void BM_U16StringPushBack(benchmark::State& state)
{
    for (auto _ : state) {
        std::u16string text;
        for (int i = 0; i < appends; ++i)
            text.push_back(alphabet[size_t(i) % alphabet.size()]);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(qint64(state.iterations()) * appends);
}

BENCHMARK(BM_BuilderAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_U16StringPushBack)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
