#include "core/learning_memory.h"

#include <cmath>

#include "core/utf.h"

namespace talvo {
namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kDecayDays = 30.0;

template <typename Value>
Value& slot(TextMap<Value>& map, std::string_view key) {
    const auto found = map.find(key);
    if (found != map.end()) {
        return found->second;
    }
    return map.emplace(std::string(key), Value{}).first->second;
}

void add_prefixes(LearningMemory& memory, const LaunchRecord& record, double weight) {
    const std::string_view query = record.query;
    std::size_t end = 0;
    while (end < query.size()) {
        decode_utf8(query, end);
        const std::string_view prefix = query.substr(0, end);
        slot(slot(memory.prefix_key_weight, prefix), record.key) += weight;
        slot(memory.prefix_weight, prefix) += weight;
    }
}

}  // namespace

double record_weight(std::uint64_t time, std::int64_t now) {
    if (now < 0) {
        return 1.0;
    }
    const auto now_seconds = static_cast<std::uint64_t>(now);
    const std::uint64_t age = time > now_seconds ? 0 : now_seconds - time;
    return std::exp(-(static_cast<double>(age) / kSecondsPerDay) / kDecayDays);
}

void rebuild(LearningMemory& memory, std::int64_t now) {
    memory.key_weight.clear();
    memory.hour_weight.clear();
    memory.day_weight.clear();
    memory.prefix_key_weight.clear();
    memory.prefix_weight.clear();
    memory.total_weight = 0;
    for (const LaunchRecord& record : memory.records) {
        const double weight = record_weight(record.time, now);
        slot(memory.key_weight, record.key) += weight;
        memory.total_weight += weight;
        slot(memory.hour_weight, record.key)[record.hour % 24] += weight;
        slot(memory.day_weight, record.key)[record.weekend != 0 ? 1 : 0] += weight;
        add_prefixes(memory, record, weight);
    }
}

}  // namespace talvo
