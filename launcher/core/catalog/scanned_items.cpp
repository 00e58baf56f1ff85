#include "core/catalog/scanned_items.h"

#include "core/text/utf.h"

namespace talvo {
namespace {

std::vector<std::string_view> split_tabs(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

}  // namespace

std::vector<ScannedItem> parse_scanned_items(std::string_view text) {
    std::vector<ScannedItem> items;
    while (!text.empty()) {
        const std::size_t feed = text.find('\n');
        std::string_view line = text.substr(0, feed);
        text = feed == std::string_view::npos ? std::string_view{} : text.substr(feed + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!is_valid_utf8(line)) {
            continue;
        }
        const std::vector<std::string_view> fields = split_tabs(line);
        if (fields.size() < 2) {
            continue;
        }
        items.push_back(ScannedItem{std::string(fields[0]), std::string(fields[1]),
                                    fields.size() > 2 ? std::string(fields[2]) : std::string()});
    }
    return items;
}

}  // namespace talvo
