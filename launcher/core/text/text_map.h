// Hash containers keyed by UTF-8 text that can be searched with a string_view
// without building a std::string (no allocation on the keystroke path).
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace talvo {

// Hashes eight bytes a step: entry keys are long paths and identities, and
// each keystroke hashes one per matching entry.
struct HashedText;

struct TextHash {
    using is_transparent = void;

    std::size_t operator()(const HashedText& key) const noexcept;

    static std::uint64_t mix(std::uint64_t x) noexcept {
        x *= 0xBF58476D1CE4E5B9ull;
        return x ^ (x >> 31);
    }

    std::size_t operator()(std::string_view text) const noexcept {
        std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
        const char* p = text.data();
        std::size_t n = text.size();
        for (; n >= 8; p += 8, n -= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            h = mix(h ^ chunk) * 0x94D049BB133111EBull;
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, p, n);
        h = mix(h ^ tail);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

// A text with its TextHash already computed, for lookups that should not hash
// it again (catalogue keys on the keystroke path).
struct HashedText {
    std::string_view text;
    std::size_t hash = 0;

    friend bool operator==(const HashedText& a, const std::string& b) { return a.text == b; }
};

inline std::size_t TextHash::operator()(const HashedText& key) const noexcept {
    return key.hash;
}

template <typename Value>
using TextMap = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;

// The value of `key`, added as Value{} when missing; the key is copied only then.
template <typename Value>
Value& find_or_add(TextMap<Value>& map, std::string_view key) {
    const auto found = map.find(key);
    if (found != map.end()) {
        return found->second;
    }
    return map.emplace(std::string(key), Value{}).first->second;
}

using TextSet = std::unordered_set<std::string, TextHash, std::equal_to<>>;

// Entry keys the user has hidden from the results.
using HiddenKeys = TextSet;

}  // namespace talvo
