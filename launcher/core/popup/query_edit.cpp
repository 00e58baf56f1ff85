#include "core/popup/query_edit.h"

#include "core/text/fold.h"
#include "core/text/utf.h"

namespace talvo {
namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kPaste = 0x16;          // Ctrl+V
constexpr char16_t kBackspaceWord = 0x7F;  // Ctrl+Backspace

// Byte length of the first `characters` characters of `text` (all of it when shorter).
std::size_t leading_bytes(std::string_view text, std::size_t characters) {
    std::size_t pos = 0;
    for (std::size_t taken = 0; taken < characters && pos < text.size(); ++taken) {
        decode_utf8(text, pos);
    }
    return pos;
}

// Characters as the query counts them: a byte that is not valid UTF-8 counts as one.
std::size_t characters_in(std::string_view text) {
    std::size_t pos = 0;
    std::size_t count = 0;
    while (pos < text.size()) {
        decode_utf8(text, pos);
        ++count;
    }
    return count;
}

void append_within_limit(std::string& query, std::string_view text) {
    const std::size_t held = characters_in(query);
    if (held >= kQueryMaxCharacters) {
        return;
    }
    query += text.substr(0, leading_bytes(text, kQueryMaxCharacters - held));
}

}  // namespace

void edit_query(std::string& query, const QueryEdit& edit) {
    switch (edit.kind) {
        case QueryEdit::Kind::Replace:
            query.clear();
            append_within_limit(query, edit.text);
            return;
        case QueryEdit::Kind::Append:
            append_within_limit(query, edit.text);
            return;
        case QueryEdit::Kind::EraseCharacter:
            erase_last_character(query);
            return;
        case QueryEdit::Kind::EraseWord:
            erase_last_word(query);
            return;
    }
}

bool type_unit(std::string& query, char16_t unit, const std::function<std::string()>& clipboard) {
    switch (unit) {
        case kBackspace:
            edit_query(query, {QueryEdit::Kind::EraseCharacter});
            return true;
        case kPaste: {
            const std::string pasted = clipboard();
            edit_query(query, {QueryEdit::Kind::Append, first_line(pasted)});
            return true;
        }
        case kBackspaceWord:
            edit_query(query, {QueryEdit::Kind::EraseWord});
            return true;
        default:
            break;
    }
    if (unit < 0x20) {
        return false;
    }
    if (unit < 0xD800 || unit > 0xDFFF) {
        std::string character;
        append_utf8(character, unit);
        edit_query(query, {QueryEdit::Kind::Append, character});
    }
    return true;
}

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
