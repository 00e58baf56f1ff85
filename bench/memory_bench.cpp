// The learning memory: rebuilding its tables after a launch, and reading the
// history file at start-up; and the match index built with each catalogue.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "catalog_generator.h"
#include "core/matching/history_file.h"
#include "core/matching/match_index.h"

namespace talvo::bench {
namespace {

constexpr std::int64_t kNow = 1'780'000'000;
constexpr std::size_t kRecords = 6000;

// With "long query" 1, one of the records was typed with a query of a million
// characters, as a damaged or pasted line can be.
std::vector<LaunchRecord> bench_records(std::size_t count, bool long_query) {
    std::vector<LaunchRecord> records = generate_records(generate_catalog(1000), count, kNow);
    if (long_query) {
        records[count / 2].query.assign(1'000'000, 'v');
    }
    return records;
}

void rebuild_tables(benchmark::State& state) {
    LearningMemory memory;
    memory.records = bench_records(kRecords, state.range(0) != 0);
    for (auto _ : state) {
        rebuild(memory, kNow);
        benchmark::DoNotOptimize(memory.total_weight);
    }
}
BENCHMARK(rebuild_tables)->Arg(0)->Arg(1)->ArgName("long_query")->Unit(benchmark::kMillisecond);

// The match index of a new catalogue (a scan's arrival, a hide or an unhide);
// "index_bytes" is the memory it holds.
void build_match_index(benchmark::State& state) {
    const Catalog catalog = generate_catalog(static_cast<std::size_t>(state.range(0)));
    const HiddenKeys hidden{catalog[3].key, catalog[10].key};
    std::size_t bytes = 0;
    for (auto _ : state) {
        const MatchIndex index(catalog, hidden);
        bytes = index.memory_bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["index_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(build_match_index)
    ->Arg(1000)
    ->Arg(10000)
    ->ArgName("entries")
    ->Unit(benchmark::kMillisecond);

// The real file system and clock, with APPDATA pointing at a scratch folder.
class BenchEnvironment final : public Environment {
  public:
    explicit BenchEnvironment(std::string appdata) : appdata_(std::move(appdata)) {}
    std::optional<std::string> variable(std::string_view name) const override {
        return name == "APPDATA" ? std::optional(appdata_) : std::nullopt;
    }
    std::uint32_t process_id() const override { return 1; }

  private:
    std::string appdata_;
};

// Start-up with a file of `lines` lines: read, parse, rebuild, and past 5,000
// lines also the trim's atomic rewrite. The file is restored between runs.
// The files live in memory when the system offers a memory-backed folder, so
// the figure is the launcher's own work and not the disk's flush latency;
// TALVO_BENCH_DIR chooses another folder (a real disk shows the flush).
std::filesystem::path bench_folder() {
    if (const char* chosen = std::getenv("TALVO_BENCH_DIR")) {
        return std::filesystem::path(chosen) / "talvo-memory-bench";
    }
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) {
        return "/dev/shm/talvo-memory-bench";
    }
    return std::filesystem::temp_directory_path() / "talvo-memory-bench";
}

void load_history_file(benchmark::State& state) {
    const auto folder = bench_folder();
    const BenchEnvironment environment(folder.string());
    const Platform real = system_platform();
    const Platform platform{real.clock, environment, real.files, real.system};
    real.files.create_directories(data_folder(environment));

    const auto lines = static_cast<std::size_t>(state.range(0));
    std::string text;
    for (const LaunchRecord& record : bench_records(lines, state.range(1) != 0)) {
        text += format_record(record);
    }
    LearningMemory memory;
    for (auto _ : state) {
        state.PauseTiming();
        real.files.write(history_path(environment), text, WriteMode::Truncate);
        state.ResumeTiming();
        load_history(memory, platform);
        benchmark::DoNotOptimize(memory.records.data());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(load_history_file)
    ->Args({5000, 0})
    ->Args({6000, 0})
    ->Args({6000, 1})
    ->ArgNames({"lines", "long_query"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace talvo::bench
