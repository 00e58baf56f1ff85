#include "setup/win/message_boxes.h"

#include <windows.h>

#include "setup/core/messages.h"
#include "win/platform/text_win.h"

namespace talvo::setup::win {
namespace {

int show_box(std::string_view text, UINT buttons_and_icon) {
    const std::wstring wide_text = talvo::win::widen(text);
    const std::wstring caption = talvo::win::widen(kBoxCaption);
    // The setup has no window of its own: the box is brought to the front itself.
    return MessageBoxW(nullptr, wide_text.c_str(), caption.c_str(),
                       buttons_and_icon | MB_SETFOREGROUND);
}

}  // namespace

bool ask_yes_no(std::string_view question) {
    return show_box(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void show_information(std::string_view text) {
    show_box(text, MB_OK | MB_ICONINFORMATION);
}

void show_failure(std::string_view failure_text) {
    show_box(failure_box_text(failure_text), MB_OK | MB_ICONERROR);
}

}  // namespace talvo::setup::win
