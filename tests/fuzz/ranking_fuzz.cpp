// The keystroke path over the match index against the plain ranking, with an
// arbitrary query and arbitrary names: the first line of the input is the
// query, every further line a name ("name|alias"; a leading '#' hides it).
// Every third entry was launched, after the query or a shorter part of it;
// every fourth has the query as its file's name, and every fifth its name
// followed by an x.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/matching/index_scan.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

namespace {

using namespace talvo;

struct Inputs {
    Catalog catalog;
    HiddenKeys hidden;
    LearningMemory memory;
};

Inputs read_inputs(std::string_view lines, const std::string& query) {
    Inputs inputs;
    std::uint64_t time = 1'700'000'000;
    while (!lines.empty()) {
        const std::size_t cut = lines.find('\n');
        std::string_view line = lines.substr(0, cut);
        lines = cut == std::string_view::npos ? std::string_view{} : lines.substr(cut + 1);
        const bool hidden = line.starts_with('#');
        const std::size_t bar = line.find('|');
        const std::string name(line.substr(0, bar));
        const std::string key = "app:" + std::to_string(inputs.catalog.size() % 40) + name;
        CatalogEntry entry = make_entry(key, name, "", LaunchTarget::open_path(name));
        if (bar != std::string_view::npos) {
            entry = with_aliases(std::move(entry), {line.substr(bar + 1)});
        }
        if (inputs.catalog.size() % 4 == 1) {
            entry = with_file_stem(std::move(entry), "C:\\Outils\\" + query + ".exe");
        } else if (inputs.catalog.size() % 5 == 2) {
            entry = with_file_stem(std::move(entry), name + "x.cpl");
        }
        if (hidden) {
            inputs.hidden.insert(key);
        }
        if (inputs.catalog.size() % 3 == 0) {
            const std::size_t typed = std::min(name.size(), query.size()) % 4;
            std::string typed_query = query.substr(0, query.size() - typed);
            if (!is_valid_utf8(typed_query)) {
                typed_query.clear();
            }
            inputs.memory.records.push_back({key, typed_query, time, unsigned(time % 24), 0});
            time += 3600 * 7;
        }
        inputs.catalog.push_back(std::move(entry));
    }
    rebuild(inputs.memory, 1'700'100'000);
    return inputs;
}

std::vector<ScoredEntry> plain_pairs(const Inputs& inputs, const std::string& query,
                                     ClockSlot clock) {
    const QueryParts parts = split_query(query);
    std::vector<ScoredEntry> pairs;
    for (std::size_t i = 0; i < inputs.catalog.size(); ++i) {
        const CatalogEntry& entry = inputs.catalog[i];
        const std::optional<float> base = base_score(entry, parts);
        if (base && !inputs.hidden.contains(entry.key)) {
            const float bonus = learned_bonus(inputs.memory, entry.key, query, clock);
            pairs.push_back({*base + bonus, static_cast<std::uint32_t>(i)});
        }
    }
    return pairs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t end_of_query = bytes.find('\n');
    const std::string query = prepare_query(bytes.substr(0, end_of_query));
    if (query.empty() || end_of_query == std::string_view::npos) {
        return 0;
    }
    const Inputs inputs = read_inputs(bytes.substr(end_of_query + 1), query);
    const MatchIndex index(inputs.catalog, inputs.hidden);
    const ClockSlot clock{static_cast<unsigned>(size % 24), static_cast<unsigned>(size % 2)};

    std::vector<ScoredEntry> plain = plain_pairs(inputs, query, clock);
    std::vector<ScoredEntry> pairs;
    match_entries(index, inputs.catalog, query, clock, inputs.memory, pairs);
    if (pairs != plain) {
        std::abort();
    }
    std::stable_sort(plain.begin(), plain.end(), [&](const ScoredEntry& a, const ScoredEntry& b) {
        if (total_order_key(a.score) != total_order_key(b.score)) {
            return total_order_key(a.score) > total_order_key(b.score);
        }
        return inputs.catalog[a.index].name.size() < inputs.catalog[b.index].name.size();
    });
    plain.resize(std::min(plain.size(), kMaxResults));
    best_matches(index, inputs.catalog, query, clock, inputs.memory, pairs);
    if (pairs != plain) {
        std::abort();
    }
    return 0;
}
