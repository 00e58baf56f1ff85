// talvo-rank: ranks a catalogue for queries as the launcher would, from files,
// for developers and power users. Reads files, never writes them.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "core/catalog/builtins.h"
#include "core/catalog/hidden.h"
#include "core/catalog/scanned_items.h"
#include "core/matching/brain.h"
#include "core/matching/history_file.h"
#include "core/matching/index_scan.h"
#include "core/matching/results.h"
#include "core/stats/civil_time.h"
#include "core/text/fold.h"
#include "core/text/utf.h"
#include "rank_options.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace talvo::rank {
namespace {

// The clock of the options: a fixed instant, local time by a fixed offset or
// by the system's zone rules.
class ToolClock final : public Clock {
  public:
    ToolClock(std::int64_t now, std::optional<std::int64_t> offset) : now_(now), offset_(offset) {}

    std::int64_t unix_now() const override { return now_; }
    LocalTime local_now() const override { return to_local(now_).value_or(LocalTime{}); }
    std::optional<LocalTime> to_local(std::int64_t unix_seconds) const override {
        if (offset_) {
            return civil_from_unix(unix_seconds, *offset_);
        }
        return system_platform().clock.to_local(unix_seconds);
    }

  private:
    std::int64_t now_;
    std::optional<std::int64_t> offset_;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "talvo-rank : %s\n\n%s", message.c_str(), kUsage);
    return 2;
}

// Applies --tz: a fixed offset, or (off Windows) any zone the C library knows.
bool apply_zone(const std::optional<std::string>& zone, std::optional<std::int64_t>& offset) {
    if (!zone) {
        return true;
    }
    offset = parse_utc_offset(*zone);
    if (offset) {
        return true;
    }
#ifdef _WIN32
    return false;
#else
    setenv("TZ", zone->c_str(), 1);
    tzset();
    return true;
#endif
}

struct Inputs {
    Catalog catalog;
    LearningMemory memory;
    HiddenKeys hidden;
    KeyIndex key_index;
    MatchIndex match_index;
};

std::optional<std::string> read_named(const FileSystem& files,
                                      const std::optional<std::string>& path, std::string& error) {
    if (!path) {
        return std::string();
    }
    std::optional<std::string> text = files.read_file(*path);
    if (!text) {
        error = "impossible de lire " + *path;
    }
    return text;
}

std::optional<Inputs> load_inputs(const Options& options, std::int64_t now, std::string& error) {
    const Platform platform = system_platform();
    const auto items = read_named(platform.files, options.items_file, error);
    const auto history = read_named(platform.files, options.history_file, error);
    const auto hidden = read_named(platform.files, options.hidden_file, error);
    if (!items || !history || !hidden) {
        return std::nullopt;
    }
    Inputs inputs;
    inputs.catalog = build_builtins(platform.system);
    for (const ScannedItem& item : parse_scanned_items(*items)) {
        if (auto entry = make_scanned_entry(item, platform.system, platform.files)) {
            inputs.catalog.push_back(std::move(*entry));
        }
    }
    inputs.memory.records = parse_history(*history);
    rebuild(inputs.memory, now);
    inputs.hidden = parse_hidden(*hidden);
    inputs.key_index = build_key_index(inputs.catalog);
    inputs.match_index = MatchIndex(inputs.catalog, inputs.hidden);
    return inputs;
}

void print_row(std::size_t rank, double score, const CatalogEntry& entry) {
    std::printf("%zu\t%.3f\t%s\t%s\n", rank, score, entry.key.c_str(), entry.name.c_str());
}

void print_ranking(const Inputs& inputs, const std::string& raw_query, ClockSlot clock) {
    std::printf("# « %s »\n", raw_query.c_str());
    const std::string query = prepare_query(raw_query);
    if (query.empty()) {
        const ResultSources sources{inputs.catalog, inputs.key_index, inputs.hidden, inputs.memory,
                                    inputs.match_index};
        std::size_t rank = 1;
        for (const std::size_t index : suggestions(sources, clock)) {
            const CatalogEntry& entry = inputs.catalog[index];
            print_row(rank++, suggestion_prior(inputs.memory, entry.key, clock), entry);
        }
        return;
    }
    std::vector<ScoredEntry> pairs;
    best_matches(inputs.match_index, inputs.catalog, query, clock, inputs.memory, pairs);
    std::size_t rank = 1;
    for (const ScoredEntry& pair : pairs) {
        print_row(rank++, pair.score, inputs.catalog[pair.index]);
    }
}

int run(const std::vector<std::string>& arguments) {
    std::string error;
    const std::optional<Options> options = parse_options(arguments, error);
    if (!options) {
        return fail(error);
    }
    if (options->help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::optional<std::int64_t> offset;
    if (!apply_zone(options->zone, offset)) {
        return fail("fuseau horaire non pris en charge ici : " + *options->zone +
                    " (UTC ou ±HH:MM)");
    }
    const ToolClock clock(options->now.value_or(system_platform().clock.unix_now()), offset);
    const std::optional<Inputs> inputs = load_inputs(*options, clock.unix_now(), error);
    if (!inputs) {
        return fail(error);
    }
    const ClockSlot slot = clock_slot(clock.local_now());
    for (const std::string& query : options->queries) {
        print_ranking(*inputs, query, slot);
    }
    return 0;
}

}  // namespace
}  // namespace talvo::rank

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    SetConsoleOutputCP(CP_UTF8);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view wide(argv[i]);
        const std::u16string_view units(reinterpret_cast<const char16_t*>(wide.data()),
                                        wide.size());
        arguments.push_back(talvo::utf16_to_utf8(units, talvo::InvalidUtf16::Replace));
    }
    return talvo::rank::run(arguments);
}
#else
int main(int argc, char** argv) {
    return talvo::rank::run({argv + 1, argv + argc});
}
#endif
