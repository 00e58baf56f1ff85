// UTF-8 walking and UTF-16 conversion on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    std::size_t pos = 0;
    std::string rebuilt;
    while (pos < bytes.size()) {
        talvo::append_utf8(rebuilt, talvo::decode_utf8(bytes, pos));
    }
    if (!talvo::is_valid_utf8(rebuilt) || pos != bytes.size()) {
        std::abort();
    }
    if (talvo::is_valid_utf8(bytes) && rebuilt != bytes) {
        std::abort();  // decoding valid text must be lossless
    }
    if (talvo::last_character_start(bytes) > bytes.size()) {
        std::abort();
    }

    const std::u16string units(reinterpret_cast<const char16_t*>(data), size / 2);
    const std::string replaced = talvo::utf16_to_utf8(units, talvo::InvalidUtf16::Replace);
    const std::string strict = talvo::utf16_to_utf8(units, talvo::InvalidUtf16::Empty);
    if (!talvo::is_valid_utf8(replaced) || !talvo::is_valid_utf8(strict)) {
        std::abort();
    }
    if (!strict.empty() && talvo::utf8_to_utf16(strict) != units) {
        std::abort();  // a valid UTF-16 text survives the round trip
    }
    return 0;
}
