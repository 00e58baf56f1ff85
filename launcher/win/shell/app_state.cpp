#include "win/shell/app_state.h"

namespace talvo::win {

StateSlot& ui_state() {
    static StateSlot slot;
    return slot;
}

UiThreadValues& ui_values() {
    static UiThreadValues values;
    return values;
}

}  // namespace talvo::win
