// The setup's only way of talking to the user: message boxes captioned "Talvo".
#pragma once

#include <string_view>

namespace talvo::setup::win {

// True only when the user answers Yes; No and closing the box both count as no.
bool ask_yes_no(std::string_view question);
void show_information(std::string_view text);
// The failure box: "Une erreur est survenue :", two line feeds, the failure text.
void show_failure(std::string_view failure_text);

}  // namespace talvo::setup::win
