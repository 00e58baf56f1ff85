// A 64-bit summary of which bytes a text holds: one bit for each ASCII
// lower-case letter and digit, the other byte values sharing the remaining 28
// bits. A text can contain another only if its mask covers the other's, so one
// AND rejects most catalogue entries before any string comparison.
#pragma once

#include <cstdint>
#include <string_view>

namespace talvo {

constexpr std::uint64_t byte_bit(unsigned char byte) {
    if (byte >= 'a' && byte <= 'z') {
        return std::uint64_t{1} << (byte - 'a');
    }
    if (byte >= '0' && byte <= '9') {
        return std::uint64_t{1} << (26 + byte - '0');
    }
    return std::uint64_t{1} << (36 + byte % 28);
}

constexpr std::uint64_t byte_mask(std::string_view text) {
    std::uint64_t mask = 0;
    for (const char c : text) {
        mask |= byte_bit(static_cast<unsigned char>(c));
    }
    return mask;
}

// Whether a text of mask `have` may hold every byte of a text of mask `wanted`.
constexpr bool may_hold_all(std::uint64_t have, std::uint64_t wanted) {
    return (wanted & ~have) == 0;
}

}  // namespace talvo
