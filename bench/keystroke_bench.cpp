// One keystroke: prepare the query, score every entry, rank, keep six. The
// match index is built with the catalogue, outside the timed loop.
#include <benchmark/benchmark.h>

#include "catalog_generator.h"
#include "core/matching/index_scan.h"
#include "core/text/fold.h"

namespace talvo::bench {
namespace {

constexpr std::int64_t kNow = 1'780'000'000;
constexpr const char* kQueries[] = {"v", "vi", "vis", "visu", "visua", "visual"};

void keystroke(benchmark::State& state) {
    const auto size = static_cast<std::size_t>(state.range(0));
    const char* raw_query = kQueries[state.range(1) - 1];
    const Catalog catalog = generate_catalog(size);
    LearningMemory memory;
    memory.records = generate_records(catalog, 5000, kNow);
    rebuild(memory, kNow);
    const HiddenKeys hidden{catalog[3].key, catalog[10].key};
    const MatchIndex index(catalog, hidden);
    std::vector<ScoredEntry> pairs;
    for (auto _ : state) {
        const std::string query = prepare_query(raw_query);
        best_matches(index, catalog, query, {14, 0}, memory, pairs);
        benchmark::DoNotOptimize(pairs.data());
    }
    state.SetLabel(std::string("query \"") + raw_query + "\"");
}

BENCHMARK(keystroke)
    ->ArgsProduct({{1000, 10000}, {1, 2, 3, 4, 5, 6}})
    ->ArgNames({"entries", "letters"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace talvo::bench
