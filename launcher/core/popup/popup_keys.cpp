#include "core/popup/popup_keys.h"

namespace talvo {
namespace {

using Kind = KeyEffect::Kind;

LaunchMode mode_for_enter(bool ctrl, bool shift) {
    if (ctrl) {
        return LaunchMode::ShowInFolder;
    }
    return shift ? LaunchMode::NewInstance : LaunchMode::Normal;
}

KeyEffect on_row(Kind kind, std::size_t row, std::size_t rows,
                 LaunchMode mode = LaunchMode::Normal) {
    if (row >= rows) {
        return {};
    }
    return {kind, row, mode};
}

}  // namespace

KeyEffect popup_key_effect(const KeyPress& key, bool shown, std::size_t rows,
                           std::size_t selected) {
    if (!shown) {
        return {};
    }
    const bool ctrl = key.ctrl && !key.alt;
    switch (key.virtual_key) {
        case vk::kTab:
            return selected < rows ? KeyEffect{Kind::Complete, selected} : KeyEffect{Kind::Repaint};
        case vk::kReturn:
            return on_row(Kind::Choose, selected, rows, mode_for_enter(ctrl, key.shift));
        case vk::kEscape:
            return {Kind::Hide};
        case vk::kUp:
            return rows == 0 ? KeyEffect{} : KeyEffect{Kind::Select, (selected + rows - 1) % rows};
        case vk::kDown:
            return rows == 0 ? KeyEffect{} : KeyEffect{Kind::Select, (selected + 1) % rows};
        case vk::kDelete:
            if (!ctrl) {
                return {};
            }
            if (selected >= rows) {
                return {Kind::Repaint};
            }
            return {key.shift ? Kind::ForgetEntry : Kind::HideEntry, selected};
        default:
            break;
    }
    if (ctrl && key.virtual_key >= vk::kDigit1 && key.virtual_key <= vk::kDigit9) {
        return on_row(Kind::Choose, key.virtual_key - vk::kDigit1, rows);
    }
    return {};
}

}  // namespace talvo
