#include "core/popup/query_edit.h"

#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {

void erase_last_character(std::string& query) {
    query.resize(last_character_start(query));
}

void erase_last_word(std::string& query) {
    // Only trailing white space goes: trimming both ends would eat leading spaces too.
    const std::string_view trimmed = trim_white_space(query);
    const std::size_t end = trimmed.empty() ? 0 : (trimmed.data() - query.data()) + trimmed.size();
    query.resize(end);
    const std::size_t space = query.rfind(' ');
    query.resize(space == std::string::npos ? 0 : space + 1);
}

std::string_view first_line(std::string_view pasted) {
    const std::size_t feed = pasted.find('\n');
    if (feed == std::string_view::npos) {
        return pasted;
    }
    std::string_view line = pasted.substr(0, feed);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace talvo
