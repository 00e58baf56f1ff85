#include "setup/core/messages.h"

#include "version.h"

namespace talvo::setup {

std::string install_question(std::string_view install_folder) {
    return "Installer Talvo " TALVO_VERSION_TEXT
           " ?\n\n"
           "Talvo s'ouvre avec Alt+Espace et lance tes applications et dossiers.\n\n"
           "Dossier : " +
           std::string(install_folder) + "\nAucun droit administrateur requis.";
}

std::string autostart_question() {
    return "Lancer Talvo automatiquement à l'ouverture de session ?\n\n"
           "(Recommandé : Alt+Espace est alors toujours disponible.)";
}

std::string install_done_text() {
    return "Talvo est installé et prêt.\n\nAppuie sur Alt+Espace pour l'ouvrir.";
}

std::string uninstall_question() {
    return "Désinstaller Talvo ?";
}

std::string history_question() {
    return "Supprimer aussi l'historique d'apprentissage de Talvo (tes habitudes de lancement) ?";
}

std::string uninstall_done_text() {
    return "Talvo a été désinstallé.";
}

std::string failure_box_text(std::string_view failure_text) {
    return "Une erreur est survenue :\n\n" + std::string(failure_text);
}

}  // namespace talvo::setup
