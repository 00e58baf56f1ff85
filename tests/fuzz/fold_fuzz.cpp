// Folding, query preparation and word splitting on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/catalog/catalog.h"
#include "core/text/fold.h"
#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string folded = talvo::fold(bytes);
    const std::string prepared = talvo::prepare_query(bytes);
    if (!talvo::is_valid_utf8(folded) || !talvo::is_valid_utf8(prepared)) {
        std::abort();
    }
    if (talvo::is_valid_utf8(bytes) && talvo::fold(folded) != folded) {
        std::abort();  // folding is idempotent on valid text
    }
    for (const std::string_view word : talvo::query_words(prepared)) {
        if (word.empty() || !talvo::is_valid_utf8(word)) {
            std::abort();
        }
    }
    if (!talvo::is_valid_utf8(talvo::compact(prepared))) {
        std::abort();
    }

    const talvo::CatalogEntry entry =
        talvo::make_entry("app:fuzz", std::string(bytes), "", talvo::LaunchTarget::open_path("x"));
    for (const std::string& word : entry.words) {
        if (word.empty() || !talvo::is_valid_utf8(word)) {
            std::abort();
        }
    }
    if (!talvo::is_valid_utf8(entry.initials) || !talvo::is_valid_utf8(entry.match_name)) {
        std::abort();
    }
    return 0;
}
