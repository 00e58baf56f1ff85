// The popup's keys: each key and modifier set against the rows, AltGr (which
// Windows reports as Ctrl + Alt) typing instead of acting, a hidden popup
// answering nothing.
#include <gtest/gtest.h>

#include "core/popup/popup_keys.h"

namespace talvo {

void PrintTo(const KeyEffect& e, std::ostream* out) {
    *out << "{kind " << static_cast<int>(e.kind) << ", row " << e.row << ", mode "
         << static_cast<int>(e.mode) << "}";
}

namespace {

using Kind = KeyEffect::Kind;
using Mode = LaunchMode;

constexpr std::uint32_t kDigit3 = '3';
constexpr std::uint32_t kLetterD = 'D';

TEST(PopupKeys, EachKeyWithItsModifiers) {
    const struct {
        const char* what;
        KeyPress key;
        std::size_t rows;
        std::size_t selected;
        KeyEffect effect;
    } cases[] = {
        {"Enter", {vk::kReturn}, 3, 1, {Kind::Choose, 1, Mode::Normal}},
        {"Shift+Enter",
         {vk::kReturn, false, false, true},
         3,
         1,
         {Kind::Choose, 1, Mode::NewInstance}},
        {"Ctrl+Enter", {vk::kReturn, true}, 3, 1, {Kind::Choose, 1, Mode::ShowInFolder}},
        {"AltGr+Enter is Enter", {vk::kReturn, true, true}, 3, 1, {Kind::Choose, 1, Mode::Normal}},
        {"Enter without rows", {vk::kReturn}, 0, 0, {}},
        {"Ctrl+3", {kDigit3, true}, 3, 0, {Kind::Choose, 2, Mode::Normal}},
        {"Ctrl+Shift+3 still row 3", {kDigit3, true, false, true}, 3, 0, {Kind::Choose, 2}},
        {"Ctrl+1 and Ctrl+9 bound the digits", {vk::kDigit9, true}, 9, 0, {Kind::Choose, 8}},
        {"Ctrl+3 past the rows", {kDigit3, true}, 2, 0, {}},
        {"AltGr+3 types #", {kDigit3, true, true}, 3, 0, {}},
        {"3 alone types", {kDigit3}, 3, 0, {}},
        {"Ctrl+0 is no row", {'0', true}, 3, 0, {}},
        {"Ctrl+D is no row", {kLetterD, true}, 3, 0, {}},
        {"Ctrl+Delete", {vk::kDelete, true}, 3, 2, {Kind::HideEntry, 2}},
        {"AltGr+Delete", {vk::kDelete, true, true}, 3, 2, {}},
        {"Delete alone", {vk::kDelete}, 3, 2, {}},
        {"Ctrl+Shift+Delete forgets",
         {vk::kDelete, true, false, true},
         3,
         1,
         {Kind::ForgetEntry, 1}},
        {"AltGr+Shift+Delete", {vk::kDelete, true, true, true}, 3, 1, {}},
        {"Shift+Delete alone", {vk::kDelete, false, false, true}, 3, 1, {}},
        {"Ctrl+Shift+Delete without rows", {vk::kDelete, true, false, true}, 0, 0, {Kind::Repaint}},
        {"Ctrl+Delete without rows", {vk::kDelete, true}, 0, 0, {Kind::Repaint}},
        {"Tab", {vk::kTab}, 3, 2, {Kind::Complete, 2}},
        {"Tab without rows", {vk::kTab}, 0, 0, {Kind::Repaint}},
        {"Escape", {vk::kEscape}, 0, 0, {Kind::Hide}},
        {"Down wraps", {vk::kDown}, 3, 2, {Kind::Select, 0}},
        {"Up wraps", {vk::kUp}, 3, 0, {Kind::Select, 2}},
        {"Down", {vk::kDown}, 3, 0, {Kind::Select, 1}},
        {"Up without rows", {vk::kUp}, 0, 0, {}},
        // The first and last digits, and each modifier alone and together.
        {"Ctrl+1 is the first row", {vk::kDigit1, true}, 3, 2, {Kind::Choose, 0}},
        {"Ctrl+9 past six rows", {vk::kDigit9, true}, 6, 0, {}},
        {"Shift+1 types", {vk::kDigit1, false, false, true}, 3, 0, {}},
        {"Alt+1 is the system's", {vk::kDigit1, false, true}, 3, 0, {}},
        {"Ctrl+Shift+Enter shows the file",
         {vk::kReturn, true, false, true},
         3,
         0,
         {Kind::Choose, 0, Mode::ShowInFolder}},
        {"Alt+Enter is Enter", {vk::kReturn, false, true}, 3, 0, {Kind::Choose, 0, Mode::Normal}},
        {"AltGr+Shift+Enter is Shift+Enter",
         {vk::kReturn, true, true, true},
         3,
         0,
         {Kind::Choose, 0, Mode::NewInstance}},
        {"Ctrl+Delete with the selection past the rows",
         {vk::kDelete, true},
         3,
         3,
         {Kind::Repaint}},
        {"Tab with the selection past the rows", {vk::kTab}, 3, 3, {Kind::Repaint}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(popup_key_effect(c.key, true, c.rows, c.selected), c.effect) << c.what;
    }
}

TEST(PopupKeys, AHiddenPopupAnswersNoKey) {
    for (const KeyPress key :
         {KeyPress{vk::kReturn}, KeyPress{kDigit3, true}, KeyPress{vk::kDelete, true},
          KeyPress{vk::kEscape}, KeyPress{vk::kTab}, KeyPress{vk::kDown}}) {
        EXPECT_EQ(popup_key_effect(key, false, 3, 0), KeyEffect{}) << key.virtual_key;
    }
}

}  // namespace
}  // namespace talvo
