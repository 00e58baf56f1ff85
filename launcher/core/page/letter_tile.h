// The letter tile drawn for an entry without an icon, on both pages: its
// colour depends only on the key's bytes, its letter on the name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace talvo::layout {

// h = h * 31 + byte over the key's bytes, wrapping at 32 bits.
std::uint32_t key_hash(std::string_view key);

// The tile colour of a key among a palette's six: depends only on the key's bytes.
std::uint32_t tile_colour(std::string_view key, const std::array<std::uint32_t, 6>& tiles);

// The tile letter: the name's first character in upper case (ß gives SS).
std::string tile_letter(std::string_view name);

}  // namespace talvo::layout
