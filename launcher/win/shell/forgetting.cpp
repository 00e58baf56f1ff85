#include "win/shell/forgetting.h"

#include "core/matching/forget.h"
#include "core/shell/platform.h"
#include "win/platform/text_win.h"

namespace talvo::win {
namespace {

// A box of its own, in front: the popup it may come from hides as it deactivates.
int ask(std::string_view text, UINT style) {
    const std::wstring wide = widen(text);
    return MessageBoxW(nullptr, wide.c_str(), L"Talvo", style | MB_SETFOREGROUND);
}

// Runs `forget` on the borrowed memory, then tells a failure with it released.
template <class Forget>
bool forget_with(UiState& ui, Forget forget) {
    ForgetOutcome outcome;
    {
        BorrowSlot<LearningMemory>::Borrow memory = ui.memory.borrow();
        if (!memory) {
            return false;  // busy in a nested loop: nothing forgotten, nothing lost
        }
        outcome = forget(*memory);
    }
    if (!outcome.written.ok) {
        ask(forget_failure_text(outcome.written.error), MB_OK | MB_ICONWARNING);
        return false;
    }
    return true;
}

}  // namespace

bool forget_entry_launches(UiState& ui, std::string_view key) {
    return forget_with(
        ui, [&](LearningMemory& memory) { return forget_entry(memory, key, system_platform()); });
}

bool clear_history_after_asking(UiState& ui) {
    if (ask(kClearHistoryQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    return forget_with(
        ui, [](LearningMemory& memory) { return forget_everything(memory, system_platform()); });
}

}  // namespace talvo::win
