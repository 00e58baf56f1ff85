// The empty query: rank every learned key by prior and context, keep six rows.
#include <benchmark/benchmark.h>

#include "catalog_generator.h"
#include "core/matching/results.h"

namespace talvo::bench {
namespace {

constexpr std::int64_t kNow = 1'780'000'000;

// `count` launches spread evenly over the first `keys` entries, at every hour
// and day of the last 90 days, so each key has its own hour and day profile.
std::vector<LaunchRecord> spread_records(const Catalog& catalog, std::size_t keys,
                                         std::size_t count) {
    std::vector<LaunchRecord> records;
    records.reserve(count);
    for (std::size_t n = 0; n < count; ++n) {
        LaunchRecord record;
        record.key = catalog[n % keys].key;
        record.time =
            static_cast<std::uint64_t>(kNow - static_cast<std::int64_t>(n * 7919 % (90 * 86400)));
        record.hour = static_cast<std::uint32_t>((record.time / 3600) % 24);
        record.weekend = ((record.time / 86400) + 4) % 7 >= 5 ? 1 : 0;
        records.push_back(std::move(record));
    }
    return records;
}

void empty_query_suggestions(benchmark::State& state) {
    const auto keys = static_cast<std::size_t>(state.range(0));
    const Catalog catalog = generate_catalog(1000);
    const KeyIndex index = build_key_index(catalog);
    LearningMemory memory;
    memory.records = spread_records(catalog, keys, keys * 10);
    rebuild(memory, kNow);
    const HiddenKeys hidden{catalog[3].key, catalog[10].key};
    const MatchIndex match_index(catalog, hidden);
    const ResultSources sources{catalog, index, hidden, memory, match_index};
    for (auto _ : state) {
        const std::vector<CatalogEntry> rows = compute_results(sources, "", {14, 0});
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetLabel(std::to_string(memory.keys.size()) + " learned keys");
}

BENCHMARK(empty_query_suggestions)->Arg(500)->ArgName("keys")->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace talvo::bench
