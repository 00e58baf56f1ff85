// The history parser on arbitrary bytes: every record it keeps is valid text
// with in-range fields, and survives being written and read back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/matching/history_file.h"
#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<talvo::LaunchRecord> records = talvo::parse_history(bytes);

    std::string written;
    for (const talvo::LaunchRecord& record : records) {
        if (!talvo::is_valid_utf8(record.key) || !talvo::is_valid_utf8(record.query)) {
            std::abort();
        }
        if (record.hour >= 24 || record.weekend > 1) {
            std::abort();
        }
        written += talvo::format_record(record);
    }
    if (talvo::parse_history(written) != records) {
        std::abort();
    }
    return 0;
}
