// The texts of the setup's message boxes, all captioned "Talvo".
#pragma once

#include <string>
#include <string_view>

namespace talvo::setup {

inline constexpr std::string_view kBoxCaption = "Talvo";

std::string install_question(std::string_view install_folder);
std::string autostart_question();
std::string install_done_text();
std::string uninstall_question();
std::string history_question();
std::string uninstall_done_text();
// "Une erreur est survenue :" + two line feeds + the failure text
std::string failure_box_text(std::string_view failure_text);

}  // namespace talvo::setup
