#include "core/page/letter_tile.h"

#include "core/text/unicode.h"
#include "core/text/utf.h"

namespace talvo::layout {

std::uint32_t key_hash(std::string_view key) {
    std::uint32_t h = 0;
    for (const char byte : key) {
        h = h * 31u + static_cast<unsigned char>(byte);
    }
    return h;
}

std::uint32_t tile_colour(std::string_view key, const std::array<std::uint32_t, 6>& tiles) {
    return tiles[key_hash(key) % tiles.size()];
}

std::string tile_letter(std::string_view name) {
    return to_upper(name.substr(0, first_character_length(name)));
}

}  // namespace talvo::layout
