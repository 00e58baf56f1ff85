// hidden.txt parsing on arbitrary bytes: every key is valid UTF-8, non-empty,
// trimmed and free of line feeds, and writing the set then reading it back
// gives the same set.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/catalog/hidden.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const talvo::HiddenKeys keys = talvo::parse_hidden(bytes);
    for (const std::string& key : keys) {
        if (key.empty() || !talvo::is_valid_utf8(key) || talvo::trim_white_space(key) != key ||
            key.find('\n') != std::string::npos) {
            std::abort();
        }
    }
    const std::string text = talvo::format_hidden(keys);
    if (talvo::parse_hidden(text) != keys ||
        talvo::format_hidden(talvo::parse_hidden(text)) != text) {
        std::abort();
    }
    return 0;
}
