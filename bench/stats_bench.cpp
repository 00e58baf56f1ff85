// The statistics page's figures from a full history: one pass over 6,000
// records with one local-time conversion each.
#include <benchmark/benchmark.h>

#include "catalog_generator.h"
#include "core/shell/platform.h"
#include "core/stats/stats_model.h"

namespace talvo::bench {
namespace {

void stats(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const Clock& clock = system_platform().clock;
    const Catalog catalog = generate_catalog(1000);
    const KeyIndex key_index = build_key_index(catalog);
    const std::vector<LaunchRecord> records = generate_records(catalog, count, clock.unix_now());
    for (auto _ : state) {
        StatsModel model = build_stats(records, catalog, key_index, clock);
        benchmark::DoNotOptimize(model.by_hour.data());
    }
}

BENCHMARK(stats)->Arg(6000)->ArgName("records")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvo::bench
