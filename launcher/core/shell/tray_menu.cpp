#include "core/shell/tray_menu.h"

namespace talvo {
namespace {

TrayMenuItem command(std::string text, std::uint32_t id, bool checked = false) {
    return {TrayMenuItem::Kind::Command, std::move(text), id, false, checked, {}};
}

TrayMenuItem separator() {
    return {TrayMenuItem::Kind::Separator, {}, kTrayNothing, false, false, {}};
}

TrayMenuItem hidden_submenu(const std::vector<HiddenMenuItem>& hidden) {
    TrayMenuItem submenu{
        TrayMenuItem::Kind::Submenu, "Applications masquées", kTrayNothing, false, false, {}};
    if (hidden.empty()) {
        submenu.children.push_back({TrayMenuItem::Kind::Command,
                                    "Aucune (Ctrl+Suppr ou clic droit dans Talvo pour masquer)",
                                    kTrayNothing,
                                    true,
                                    false,
                                    {}});
        return submenu;
    }
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        submenu.children.push_back(command("Réafficher « " + hidden[i].label + " »",
                                           kTrayShowHiddenFirst + static_cast<std::uint32_t>(i)));
    }
    submenu.children.push_back(separator());
    submenu.children.push_back(command("Tout réafficher", kTrayShowAll));
    return submenu;
}

}  // namespace

std::vector<TrayMenuItem> tray_menu(bool autostart_on, const std::vector<HiddenMenuItem>& hidden) {
    return {
        command("Ouvrir Talvo\tAlt+Espace", kTrayOpen),
        command("Statistiques…", kTrayStats),
        hidden_submenu(hidden),
        command("Effacer l'historique…", kTrayClearHistory),
        separator(),
        command("Lancer au démarrage de Windows", kTrayAutostart, autostart_on),
        separator(),
        command("Quitter Talvo", kTrayQuit),
    };
}

TrayChoice tray_choice(std::uint32_t id, const std::vector<HiddenMenuItem>& hidden) {
    using Kind = TrayChoice::Kind;
    switch (id) {
        case kTrayOpen:
            return {Kind::Open, {}};
        case kTrayStats:
            return {Kind::Stats, {}};
        case kTrayShowAll:
            return {Kind::ShowAll, {}};
        case kTrayClearHistory:
            return {Kind::ClearHistory, {}};
        case kTrayAutostart:
            return {Kind::Autostart, {}};
        case kTrayQuit:
            return {Kind::Quit, {}};
        default:
            break;
    }
    if (id >= kTrayShowHiddenFirst && id - kTrayShowHiddenFirst < hidden.size()) {
        return {Kind::ShowHidden, hidden[id - kTrayShowHiddenFirst].key};
    }
    return {Kind::Nothing, {}};
}

TrayAction tray_action(std::uint32_t event, bool version4) {
    switch (event) {
        case tray_event::kLeftButtonUp:
            return TrayAction::Click;
        case tray_event::kRightButtonUp:
            return version4 ? TrayAction::None : TrayAction::MenuAtPointer;
        case tray_event::kContextMenu:
            return version4 ? TrayAction::MenuAtAnchor : TrayAction::None;
        case tray_event::kKeySelect:
            return version4 ? TrayAction::Toggle : TrayAction::None;
        default:
            return TrayAction::None;  // kSelect too: its click was handled
    }
}

bool key_select_acts(std::optional<std::chrono::steady_clock::duration> since_last_acting,
                     std::chrono::milliseconds double_click_time) {
    return !since_last_acting || *since_last_acting > double_click_time;
}

bool tray_choice_shows_window(TrayChoice::Kind kind) {
    return kind == TrayChoice::Kind::Open || kind == TrayChoice::Kind::Stats ||
           kind == TrayChoice::Kind::ClearHistory;
}

bool tray_add_retry_continues(std::chrono::steady_clock::duration since_first_refusal) {
    return since_first_refusal < kTrayAddRetryPeriod;
}

bool tray_click_hides(bool popup_shown,
                      std::optional<std::chrono::steady_clock::duration> since_last_hide) {
    if (!since_last_hide) {
        return popup_shown;  // like the hotkey
    }
    return popup_shown || *since_last_hide < kTrayClickAfterHide;
}

}  // namespace talvo
