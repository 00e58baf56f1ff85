#include "core/matching/learning_memory.h"

#include <cmath>
#include <unordered_map>
#include <utility>

#include "core/matching/brain.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kDecayDays = 30.0;

// Where one (key, query) pair adds its weight: the key's weights
// and, for each prefix of the query, its per-key and total prefix values.
// Map values never move, so the pointers stay valid while the tables grow.
struct PairSlots {
    KeyWeights* weights;
    std::size_t first_prefix;  // range in the shared prefix slot list
    std::size_t prefix_count;
};

struct PrefixSlots {
    double* per_key;
    double* total;
};

struct PairHash {
    std::size_t operator()(const std::pair<std::string_view, std::string_view>& p) const noexcept {
        const TextHash hash;
        return hash(p.first) ^ (hash(p.second) * 0x9E3779B97F4A7C15ull);
    }
};

using PairIndex =
    std::unordered_map<std::pair<std::string_view, std::string_view>, PairSlots, PairHash>;

// Creates the pair's table values (at 0 where missing, prefixes shortest
// first, as adding record by record would) and returns where they are. Only
// the first kMaxLearnedPrefixCharacters characters of the query give prefixes.
PairSlots resolve_pair(LearningMemory& memory, const LaunchRecord& record,
                       std::vector<PrefixSlots>& prefixes) {
    PairSlots slots{&find_or_add(memory.keys, record.key), prefixes.size(), 0};
    const std::string_view query = record.query;
    std::size_t end = 0;
    for (std::size_t n = 0; n < kMaxLearnedPrefixCharacters && end < query.size(); ++n) {
        decode_utf8(query, end);
        const std::string_view prefix = query.substr(0, end);
        double& per_key = find_or_add(find_or_add(memory.prefix_key_weight, prefix), record.key);
        prefixes.push_back({&per_key, &find_or_add(memory.prefix_weight, prefix)});
        ++slots.prefix_count;
    }
    return slots;
}

}  // namespace

LaunchedKeys::LaunchedKeys(const TextMap<KeyWeights>& keys) {
    unsigned bits = 1;
    while ((std::size_t{1} << bits) < 4 * keys.size() && bits < 32) {
        ++bits;
    }
    slots_.assign(std::size_t{1} << bits, 0);
    mask_ = slots_.size() - 1;
    shift_ = 32 - bits;
    keys_.reserve(keys.size());
    for (const auto& [text, weights] : keys) {
        const auto hash_high = static_cast<std::uint32_t>(std::uint64_t{TextHash{}(text)} >> 32);
        std::size_t at = hash_high >> shift_;
        while (slots_[at] != 0) {
            at = (at + 1) & mask_;
        }
        keys_.push_back(Key{text, bonus_terms(weights)});
        slots_[at] = std::uint64_t{hash_high} << 32 | keys_.size();
    }
}

double record_weight(std::uint64_t time, std::int64_t now) {
    if (now < 0) {
        return 1.0;
    }
    const auto now_seconds = static_cast<std::uint64_t>(now);
    const std::uint64_t age = time > now_seconds ? 0 : now_seconds - time;
    return std::exp(-(static_cast<double>(age) / kSecondsPerDay) / kDecayDays);
}

// Each table value receives its records' weights in record order, as a plain
// record-by-record pass would; only the lookups are shared by the records of
// one (key, query) pair, which is most of them.
void rebuild(LearningMemory& memory, std::int64_t now) {
    memory.keys.clear();
    memory.prefix_key_weight.clear();
    memory.prefix_weight.clear();
    memory.total_weight = 0;

    PairIndex pairs(memory.records.size());
    std::vector<PrefixSlots> prefixes;
    for (const LaunchRecord& record : memory.records) {
        auto found = pairs.find({record.key, record.query});
        if (found == pairs.end()) {
            found = pairs
                        .emplace(
                            std::pair<std::string_view, std::string_view>(record.key, record.query),
                            resolve_pair(memory, record, prefixes))
                        .first;
        }
        const PairSlots& slots = found->second;
        const double weight = record_weight(record.time, now);
        slots.weights->key_weight += weight;
        memory.total_weight += weight;
        slots.weights->hour_weight[record.hour % 24] += weight;
        slots.weights->day_weight[record.weekend != 0 ? 1 : 0] += weight;
        for (std::size_t i = 0; i < slots.prefix_count; ++i) {
            const PrefixSlots& prefix = prefixes[slots.first_prefix + i];
            *prefix.per_key += weight;
            *prefix.total += weight;
        }
    }
    memory.launched = LaunchedKeys(memory.keys);
}

}  // namespace talvo
