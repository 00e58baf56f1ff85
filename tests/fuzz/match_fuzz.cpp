// The match ladder with an arbitrary query against arbitrary names: the first
// line of the input is the query, every further line a catalogue name.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/matching/brain.h"
#include "core/text/fold.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t end_of_query = bytes.find('\n');
    const std::string query = talvo::prepare_query(bytes.substr(0, end_of_query));
    if (query.empty()) {
        return 0;
    }

    talvo::Catalog catalog;
    talvo::LearningMemory memory;
    while (end_of_query != std::string_view::npos && !bytes.empty()) {
        const std::size_t cut = bytes.find('\n');
        bytes = cut == std::string_view::npos ? std::string_view{} : bytes.substr(cut + 1);
        const std::string name(bytes.substr(0, bytes.find('\n')));
        auto entry =
            talvo::make_entry("app:" + name, name, "", talvo::LaunchTarget::open_path(name));
        catalog.push_back(talvo::with_aliases(std::move(entry), {name.substr(0, 3)}));
        memory.keys["app:" + name].key_weight += 1.0;
        memory.prefix_key_weight[query]["app:" + name] += 1.0;
        memory.prefix_weight[query] += 1.0;
    }

    // The byte prefilters only skip entries that no rung would match.
    const talvo::QueryParts parts = talvo::split_query(query);
    for (const talvo::CatalogEntry& entry : catalog) {
        talvo::CatalogEntry unfiltered = entry;
        unfiltered.byte_mask = ~std::uint64_t{0};
        unfiltered.word_start_mask = ~std::uint64_t{0};
        if (talvo::base_score(entry, parts) != talvo::base_score(unfiltered, parts)) {
            std::abort();
        }
    }

    const auto pairs = talvo::match_entries(catalog, {}, query, {23, 1}, memory);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (pairs[i].index >= catalog.size() || (i > 0 && pairs[i].index <= previous) ||
            !std::isfinite(pairs[i].score)) {
            std::abort();
        }
        previous = pairs[i].index;
    }
    return 0;
}
