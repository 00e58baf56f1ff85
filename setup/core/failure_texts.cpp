#include "setup/core/failure_texts.h"

namespace talvo::setup {
namespace {

std::string with_message(std::string_view what, std::string_view message) {
    std::string text(what);
    text += " : ";
    text += message;
    return text;
}

}  // namespace

std::string missing_variable_failure(std::string_view variable) {
    return "variable " + std::string(variable) + " introuvable";
}

std::string create_folder_failure(std::string_view folder, std::string_view message) {
    return with_message("création de " + std::string(folder), message);
}

std::string write_failure(std::string_view path, std::string_view message) {
    return with_message("écriture de " + std::string(path), message);
}

std::string copy_uninstaller_failure(std::string_view message) {
    return with_message("copie du désinstallateur", message);
}

std::string shortcut_failure(std::string_view message) {
    return with_message("raccourci du menu Démarrer", message);
}

std::string registry_failure(std::string_view key, std::string_view value_name,
                             std::string_view message) {
    return with_message("registre " + std::string(key) + "\\" + std::string(value_name), message);
}

std::string launch_failure(std::string_view message) {
    return with_message("lancement de Talvo", message);
}

}  // namespace talvo::setup
