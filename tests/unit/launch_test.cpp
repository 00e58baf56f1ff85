// Carrying out a choice: the plan for each entry and mode, the texts handed
// to the shell and the log, and which open window belongs to an entry,
// decided against recorded window lists.
#include <gtest/gtest.h>

#include <map>

#include "core/launch/focus_rules.h"
#include "core/launch/front_window.h"
#include "core/launch/launch_rules.h"
#include "core/launch/launch_steps.h"
#include "core/shell/autostart.h"
#include "core/shell/diag_focus.h"

namespace talvo {
namespace {

using Step = LaunchPlan::Step;

CatalogEntry path_entry(std::string key, std::string name, std::string path,
                        std::optional<std::string> exe_path = std::nullopt) {
    CatalogEntry entry =
        make_entry(std::move(key), std::move(name), "", LaunchTarget::open_path(std::move(path)));
    entry.exe_path = std::move(exe_path);
    return entry;
}

TEST(PlanLaunch, EachModeAndTargetGetsItsStepAndParameters) {
    const std::string long_path = "C:\\" + std::string(300, 'x') + "\\Zoé é\\app.exe";
    const CatalogEntry vlc = path_entry("app:vlc", "VLC", "shell:AppsFolder\\C:\\VLC\\vlc.exe",
                                        "C:\\Program Files\\VLC\\vlc.exe");
    const CatalogEntry store = path_entry("app:X!App", "Store", "shell:AppsFolder\\X!App");
    const CatalogEntry explorer = path_entry("dir:explorer", "Explorateur", "EXPLORER.exe");
    const CatalogEntry deep = path_entry("app:deep", "Deep", long_path, long_path);
    const struct {
        const char* what;
        CatalogEntry entry;
        LaunchMode mode;
        Step step;
        std::string parameters;
    } cases[] = {
        {"Enter looks for a window first", vlc, LaunchMode::Normal, Step::FocusOrStart,
         "\"shell:AppsFolder\\C:\\VLC\\vlc.exe\""},
        {"Shift+Enter always starts", vlc, LaunchMode::NewInstance, Step::Start,
         "\"shell:AppsFolder\\C:\\VLC\\vlc.exe\""},
        {"Ctrl+Enter selects the file", vlc, LaunchMode::ShowInFolder, Step::ShowInFolder,
         "/select,\"C:\\Program Files\\VLC\\vlc.exe\""},
        {"Ctrl+Enter without a file starts", store, LaunchMode::ShowInFolder, Step::Start,
         "\"shell:AppsFolder\\X!App\""},
        {"explorer.exe in any case opens a plain window", explorer, LaunchMode::NewInstance,
         Step::Start, ""},
        {"long, spaced and accented paths pass unchanged", deep, LaunchMode::ShowInFolder,
         Step::ShowInFolder, "/select,\"" + long_path + "\""},
    };
    for (const auto& c : cases) {
        const LaunchPlan plan = plan_launch({c.entry, c.mode});
        EXPECT_EQ(plan.step, c.step) << c.what;
        EXPECT_EQ(plan.parameters, c.parameters) << c.what;
    }
    EXPECT_EQ(start_parameters("explorer.exe "), "\"explorer.exe \"") << "not the same text";
    // Windows paths and application ids cannot hold a double quote; the text is
    // passed as it is, never cut or re-quoted.
    EXPECT_EQ(start_parameters("a\"b"), "\"a\"b\"");

    for (const BuiltinCommand command :
         {BuiltinCommand::Quit, BuiltinCommand::Autostart, BuiltinCommand::Stats}) {
        const CatalogEntry entry = make_entry("cmd:x", "X", "", LaunchTarget::run_command(command));
        for (const LaunchMode mode :
             {LaunchMode::Normal, LaunchMode::NewInstance, LaunchMode::ShowInFolder}) {
            const LaunchPlan plan = plan_launch({entry, mode});
            EXPECT_EQ(plan.step, Step::RunCommand);
            EXPECT_EQ(plan.command, command);
        }
    }
}

TEST(ForegroundHandoff, WhatShowsAWindowRunsWhileThePopupIsActive) {
    using H = ForegroundHandoff;
    const auto plan = [](Step step, BuiltinCommand c = BuiltinCommand::Quit) {
        return LaunchPlan{step, c, {}};
    };
    const struct {
        const char* what;
        LaunchPlan plan;
        bool found;
        H handoff;
    } cases[] = {
        {"an open window comes forward first", plan(Step::FocusOrStart), true, H::WindowBeforeHide},
        {"no open window: the shell starts it", plan(Step::FocusOrStart), false, H::AllowThenStart},
        {"Shift+Enter", plan(Step::Start), false, H::AllowThenStart},
        {"Ctrl+Enter", plan(Step::ShowInFolder), false, H::AllowThenStart},
        {"the statistics window", plan(Step::RunCommand, BuiltinCommand::Stats), false,
         H::WindowBeforeHide},
        {"quit", plan(Step::RunCommand, BuiltinCommand::Quit), false, H::HideFirst},
        {"start with Windows", plan(Step::RunCommand, BuiltinCommand::Autostart), false,
         H::HideFirst},
        {"the window menu", plan(Step::RunCommand, BuiltinCommand::WindowMenu), false,
         H::WindowBeforeHide},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(foreground_handoff(c.plan, c.found), c.handoff) << c.what;
    }
}

TEST(LaunchTexts, LogLinesRunValueAndDiagnosticLines) {
    EXPECT_EQ(launch_log_message("dir:downloads", "C:\\Users\\me\\Downloads", 42),
              "lancement dir:downloads → C:\\Users\\me\\Downloads (ShellExecute = 42)");
    EXPECT_EQ(launch_log_message("app:x", "shell:AppsFolder\\x", -2),
              "lancement app:x → shell:AppsFolder\\x (ShellExecute = -2)");
    EXPECT_EQ(already_open_log_message("app:x"),
              "déjà ouvert : app:x → fenêtre ramenée au premier plan");
    EXPECT_EQ(run_value_data("C:\\Users\\Zoé Ma\\AppData\\talvo.exe"),
              "\"C:\\Users\\Zoé Ma\\AppData\\talvo.exe\" --hidden");
    EXPECT_EQ(run_value_data(""), "\"\" --hidden");

    EXPECT_EQ(format_window_handle(0x1A2B0), "0x1a2b0");
    EXPECT_EQ(format_window_handle(0), "0x0");
    EXPECT_EQ(format_optional_text(std::nullopt), "None");
    EXPECT_EQ(format_optional_text("C:\\a \"b\""), "Some(\"C:\\\\a \\\"b\\\"\")");
    EXPECT_EQ(switchable_window_line({0x30, "Notepad", "Sans titre", std::nullopt, "C:\\n.exe"}),
              "diag-focus fenêtre : 0x30 [Notepad] « Sans titre » aumid=None "
              "exe=Some(\"C:\\\\n.exe\")");
    EXPECT_EQ(frame_window_line({0xff, "Calculatrice", true, 2, false, true, "A!App"}),
              "diag-focus fenêtre : UWP 0xff « Calculatrice » visible=true cloaked=2 "
              "owner=false toolwindow=true aumid=Some(\"A!App\")");
    EXPECT_EQ(found_window_line("VLC", "app:vlc", 0x10),
              "diag-focus : VLC (app:vlc) → fenêtre 0x10");
}

TEST(EqualsIgnoringAsciiCase, OnlyTheAsciiLettersFold) {
    const struct {
        std::string_view a;
        std::string_view b;
        bool equal;
    } cases[] = {
        {"Microsoft.Zune!App", "microsoft.zune!app", true},  // Z, the last letter, too
        {"AZ", "az", true},
        {"app!x1", "app!x2", false},  // only the last character differs
        {"app", "apps", false},
        {"app!x", std::string_view("app!x", 4), false},  // a longer id with the same start
        {"@[", "`{", false},                             // the neighbours of A and Z are no letters
        {"ÃtÃ©", "Ã©tÃ©", false},                   // É and é differ: not ASCII
        {"", "", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(equals_ignoring_ascii_case(c.a, c.b), c.equal) << c.a << " / " << c.b;
    }
}

TEST(FolderOfLocation, DecodesFileLocationsOnly) {
    const struct {
        const char* location;
        std::optional<std::string> folder;
    } cases[] = {
        {"file:///C:/Users/Me/Downloads", "c:\\users\\me\\downloads"},
        {"file:///C:/Users/Me/Downloads///", "c:\\users\\me\\downloads"},
        {"file:///C:/a%20b/%C3%89t%C3%A9", "c:\\a b\\été"},
        {"file:///C:/%c3%a9%4a%6f", "c:\\éjo"},                 // escapes in lower case too
        {"file:///C:/a%2Fb", "c:\\a\\b"},                       // a decoded "/" turns too
        {"file:///C:/100%25%4", "c:\\100%%4"},                  // cut short: stays
        {"file:///C:/%zz%", "c:\\%zz%"},                        // not hexadecimal: stays
        {"file:///C:/%FF%C3", "c:\\\xEF\xBF\xBD\xEF\xBF\xBD"},  // invalid UTF-8
        {"file:///", ""},
        {"FILE:///C:/x", std::nullopt},  // the prefix is case-sensitive
        {"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", std::nullopt},
        {"http://example.com/", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(folder_of_location(c.location), c.folder) << c.location;
    }
}

TEST(ExecutableToCompare, GenericHostsAndNonProgramsAreNotCompared) {
    EXPECT_EQ(executable_to_compare("C:\\Program Files\\VLC\\VLC.EXE"),
              "c:\\program files\\vlc\\vlc.exe");
    for (const char* host :
         {"mmc.exe", "rundll32.exe", "explorer.exe", "cmd.exe", "powershell.exe", "pwsh.exe",
          "wscript.exe", "cscript.exe", "msiexec.exe", "java.exe", "javaw.exe", "python.exe",
          "pythonw.exe", "dllhost.exe", "control.exe", "update.exe"}) {
        EXPECT_FALSE(executable_to_compare(std::string("C:\\Hosts\\") + host)) << host;
    }
    for (const char* path :
         {"C:\\Windows\\System32\\WScript.exe", "C:\\Python\\PYTHONW.EXE", "C:\\x\\app.bat"}) {
        EXPECT_FALSE(executable_to_compare(path)) << path;
    }
    EXPECT_EQ(executable_to_compare("C:\\x\\mycmd.exe"), "c:\\x\\mycmd.exe")
        << "a host's name inside another name";
    EXPECT_FALSE(executable_to_compare(std::nullopt));
    EXPECT_EQ(package_family_of("Microsoft.Calc_8wekyb3d8bbwe!App!x"),
              "Microsoft.Calc_8wekyb3d8bbwe");
    EXPECT_FALSE(package_family_of("C:\\VLC\\vlc.exe"));
}

// A recorded desktop: what each window answers, and which questions were asked.
struct RecordedWindow {
    WindowHandle handle;
    std::string class_name;
    std::string title;
    std::optional<std::string> app_id;
    std::optional<std::string> family;
    std::optional<std::string> path;
};

class RecordedWindows final : public WindowQueries {
  public:
    explicit RecordedWindows(std::vector<RecordedWindow> windows,
                             std::vector<ShellFolderWindow> folders = {})
        : windows_(std::move(windows)), folders_(std::move(folders)) {}

    std::vector<WindowHandle> switchable_windows() override {
        std::vector<WindowHandle> handles;
        for (const RecordedWindow& w : windows_) {
            handles.push_back(w.handle);
        }
        ++lists;
        return handles;
    }
    std::string class_name(WindowHandle h) override { return find(h) ? find(h)->class_name : ""; }
    std::string title(WindowHandle h) override { return find(h) ? find(h)->title : ""; }
    std::optional<std::string> app_id(WindowHandle h) override {
        return find(h) ? find(h)->app_id : std::nullopt;
    }
    std::optional<std::string> package_family(WindowHandle h) override {
        ++process_opened[h];
        return find(h) ? find(h)->family : std::nullopt;
    }
    std::optional<std::string> process_path(WindowHandle h) override {
        ++process_opened[h];
        return find(h) ? find(h)->path : std::nullopt;
    }
    std::vector<ShellFolderWindow> shell_folder_windows() override { return folders_; }

    int lists = 0;
    std::map<WindowHandle, int> process_opened;

  private:
    // A handle that is listed but no longer answers stands for a window
    // closed between the enumeration and the question.
    const RecordedWindow* find(WindowHandle h) const {
        for (const RecordedWindow& w : windows_) {
            if (w.handle == h && w.class_name != "<gone>") {
                return &w;
            }
        }
        return nullptr;
    }

    std::vector<RecordedWindow> windows_;
    std::vector<ShellFolderWindow> folders_;
};

constexpr const char* kCalcId = "Microsoft.WindowsCalculator_8wekyb3d8bbwe!App";

TEST(FindOpenWindow, ApplicationsByIdThenPackageThenExecutable) {
    const CatalogEntry calc = path_entry(std::string("app:") + kCalcId, "Calculatrice", "x");
    const CatalogEntry vlc = path_entry("app:C:\\VLC\\vlc.exe", "VLC", "x", "C:\\VLC\\VLC.EXE");
    const CatalogEntry script =
        path_entry("app:tool", "Tool", "x", "C:\\Windows\\System32\\wscript.exe");
    const RecordedWindow gone{1, "<gone>", "", {}, {}, {}};
    const RecordedWindow notepad{2, "Notepad", "Notes", {}, {}, "C:\\Windows\\notepad.exe"};
    const RecordedWindow calc_frame{3,
                                    "ApplicationFrameWindow",
                                    "Calculatrice",
                                    "MICROSOFT.windowscalculator_8wekyb3d8bbwe!app",
                                    {},
                                    {}};
    const RecordedWindow calc_packaged{
        4, "C", "Calc", {}, "microsoft.windowscalculator_8wekyb3d8bbwe", {}};
    const RecordedWindow vlc_top{5, "Qt", "VLC", {}, {}, "c:\\vlc\\VLC.exe"};
    const RecordedWindow vlc_below{6, "Qt", "VLC 2", {}, {}, "C:\\VLC\\vlc.exe"};
    const RecordedWindow host{7, "WSH", "Tool", {}, {}, "C:\\Windows\\System32\\wscript.exe"};
    const RecordedWindow longer_id{8, "F", "x", std::string(kCalcId) + "x", {}, {}};
    const struct {
        const char* what;
        const CatalogEntry& entry;
        std::vector<RecordedWindow> windows;
        std::optional<WindowHandle> found;
    } cases[] = {
        {"the id, ignoring ASCII case", calc, {gone, notepad, calc_frame}, 3},
        {"a longer id is another application", calc, {longer_id}, std::nullopt},
        {"the package family", calc, {notepad, calc_packaged}, 4},
        {"the executable; the higher window first", vlc, {notepad, vlc_top, vlc_below}, 5},
        {"a generic host is never compared", script, {host}, std::nullopt},
        {"nothing open", vlc, {notepad, gone}, std::nullopt},
    };
    for (const auto& c : cases) {
        RecordedWindows desktop(c.windows);
        EXPECT_EQ(find_open_window(c.entry, desktop), c.found) << c.what;
    }

    // A window that matches by id is never opened as a process.
    RecordedWindows desktop({calc_frame, notepad});
    EXPECT_EQ(find_open_window(calc, desktop), 3u);
    EXPECT_EQ(desktop.process_opened[3], 0);
    EXPECT_EQ(desktop.process_opened[2], 0);
}

// The steps a launch is carried out in, from its plan and the open windows:
// what shows a window runs while the popup still has the foreground.
TEST(LaunchSteps, TheOrderThatLetsTheChosenWindowComeForward) {
    using K = LaunchStep::Kind;
    const CatalogEntry vlc =
        path_entry("app:vlc", "VLC", "shell:AppsFolder\\vlc", "C:\\VLC\\vlc.exe");
    const auto command = [](const char* key, BuiltinCommand c) {
        return make_entry(key, key, "", LaunchTarget::run_command(c));
    };
    const RecordedWindow vlc_open{5, "Qt", "VLC", {}, {}, "C:\\VLC\\vlc.exe"};
    const LaunchStep hide{K::HidePopup, BuiltinCommand::Quit, 0, "", "", ""};
    const LaunchStep allow{K::AllowForeground, BuiltinCommand::Quit, 0, "", "", ""};
    const LaunchStep start{K::Shell,
                           BuiltinCommand::Quit,
                           0,
                           "\"shell:AppsFolder\\vlc\"",
                           "lancement app:vlc → shell:AppsFolder\\vlc (ShellExecute = ",
                           ")"};
    const struct {
        const char* what;
        LaunchRequest request;
        std::vector<RecordedWindow> windows;
        std::vector<LaunchStep> steps;
        int window_lists;  // how often the system was asked for its windows
    } cases[] = {
        {"quit: hide, then quit",
         {command("cmd:quit", BuiltinCommand::Quit), LaunchMode::Normal},
         {},
         {hide, {K::RunCommand, BuiltinCommand::Quit, 0, "", "", ""}},
         0},
        {"start with Windows: hide, then switch",
         {command("cmd:autostart", BuiltinCommand::Autostart), LaunchMode::Normal},
         {},
         {hide, {K::RunCommand, BuiltinCommand::Autostart, 0, "", "", ""}},
         0},
        {"the statistics open before the hide",
         {command("cmd:stats", BuiltinCommand::Stats), LaunchMode::Normal},
         {},
         {{K::RunCommand, BuiltinCommand::Stats, 0, "", "", ""}, hide},
         0},
        {"an open window comes forward, then the hide",
         {vlc, LaunchMode::Normal},
         {vlc_open},
         {{K::BringForward, BuiltinCommand::Quit, 5, "", "", ""},
          {K::Log, BuiltinCommand::Quit, 0,
           "déjà ouvert : app:vlc → fenêtre ramenée au premier plan", "", ""},
          hide},
         1},
        {"nothing open: allow, hide, start and log",
         {vlc, LaunchMode::Normal},
         {},
         {allow, hide, start},
         1},
        {"a new copy asks for no window",
         {vlc, LaunchMode::NewInstance},
         {vlc_open},
         {allow, hide, start},
         0},
        {"the file in its folder, without a line",
         {vlc, LaunchMode::ShowInFolder},
         {vlc_open},
         {allow, hide, {K::Shell, BuiltinCommand::Quit, 0, "/select,\"C:\\VLC\\vlc.exe\"", "", ""}},
         0},
    };
    for (const auto& c : cases) {
        RecordedWindows desktop(c.windows);
        EXPECT_EQ(launch_steps(c.request, plan_launch(c.request), desktop), c.steps) << c.what;
        EXPECT_EQ(desktop.lists, c.window_lists) << c.what;
    }
    EXPECT_EQ(launch_log_start("k", "t") + "42" + launch_log_end(),
              launch_log_message("k", "t", 42));
}

// The window in front at a show: the foreground window when it qualifies,
// else the first below it that does (a tray click leaves the taskbar in front).
TEST(FrontWindow, TheForegroundWindowOrTheFirstQualifyingBelowIt) {
    constexpr WindowHandle kPopup = 9;
    const auto plain = [](WindowHandle h, const char* class_name = "Notepad") {
        return WindowFacts{h, true, false, false, false, class_name};
    };
    WindowFacts hidden = plain(2), cloaked = plain(2), tool = plain(2), shell = plain(2);
    hidden.visible = false;
    cloaked.cloaked = true;
    tool.tool_window = true;
    shell.shell_window = true;
    const struct {
        const char* what;
        std::vector<WindowFacts> z_order;
        WindowHandle expected;
    } cases[] = {
        {"the foreground window", {plain(1), plain(2)}, 1},
        {"the taskbar is passed over", {plain(1, "Shell_TrayWnd"), plain(2)}, 2},
        {"and a second monitor's", {plain(1, "Shell_SecondaryTrayWnd"), plain(2)}, 2},
        {"the desktop's windows", {plain(1, "Progman"), plain(3, "WorkerW"), plain(2)}, 2},
        {"the shell's own window", {shell, plain(3)}, 3},
        {"the popup itself", {plain(kPopup, "TalvoWindow"), plain(4)}, 4},
        {"hidden, cloaked and tool windows", {hidden, cloaked, tool, plain(5)}, 5},
        {"a class name that only starts like the taskbar's", {plain(6, "Shell_TrayWndX")}, 6},
        {"nothing qualifies", {plain(1, "Shell_TrayWnd"), hidden}, 0},
        {"no windows", {}, 0},
    };
    for (const auto& c : cases) {
        std::size_t read = 0;
        const WindowHandle found = front_window(kPopup, [&]() -> std::optional<WindowFacts> {
            return read < c.z_order.size() ? std::optional(c.z_order[read++]) : std::nullopt;
        });
        EXPECT_EQ(found, c.expected) << c.what;
    }
    // A desktop of endless unqualified windows stops at the limit.
    std::size_t asked = 0;
    EXPECT_EQ(front_window(kPopup,
                           [&] {
                               ++asked;
                               return std::optional(hidden);
                           }),
              0u);
    EXPECT_EQ(asked, kFrontWindowSearchLimit);
}

// The window-menu command: the remembered window comes forward while the
// popup is active, the popup hides, then the menu opens; a window that has
// closed, or none, is only logged.
TEST(LaunchSteps, TheWindowMenuOpensOnTheWindowThatWasInFront) {
    using K = LaunchStep::Kind;
    const LaunchRequest request{make_entry("cmd:windowmenu", "Menu", "",
                                           LaunchTarget::run_command(BuiltinCommand::WindowMenu)),
                                LaunchMode::Normal};
    const LaunchStep hide{K::HidePopup, BuiltinCommand::Quit, 0, "", "", ""};
    const LaunchStep none{K::Log, BuiltinCommand::Quit,
                          0,      "menu de la fen\xC3\xAAtre : aucune fen\xC3\xAAtre",
                          "",     ""};
    const RecordedWindow notes{7, "Notepad", "Notes \xC2\xAB brouillon \xC2\xBB", {}, {}, {}};
    const RecordedWindow closed{8, "<gone>", "", {}, {}, {}};
    const struct {
        const char* what;
        WindowHandle front;
        std::vector<LaunchStep> steps;
    } cases[] = {
        {"forward, hide, then the menu with its title",
         7,
         {{K::BringForward, BuiltinCommand::Quit, 7, "", "", ""},
          hide,
          {K::WindowMenu, BuiltinCommand::Quit, 7, notes.title, "", ""}}},
        {"none remembered", 0, {hide, none}},
        {"closed since the show", 8, {hide, none}},
    };
    for (const auto& c : cases) {
        RecordedWindows desktop({notes, closed});
        EXPECT_EQ(launch_steps(request, plan_launch(request), desktop, c.front), c.steps) << c.what;
        EXPECT_EQ(desktop.lists, 0) << c.what;
    }
    EXPECT_EQ(window_menu_log("Notes"), "menu de la fen\xC3\xAAtre : Notes");
    EXPECT_EQ(window_menu_refused_log("Notes"),
              "menu de la fen\xC3\xAAtre : refus\xC3\xA9 (Notes)");
}

TEST(FindOpenWindow, ExplorerAndFolders) {
    const CatalogEntry explorer =
        path_entry("dir:explorer", "Explorateur de fichiers", "explorer.exe");
    const CatalogEntry downloads =
        path_entry("dir:downloads", "Téléchargements", "C:\\Users\\Zoé\\Downloads",
                   "C:\\Users\\Zoé\\Downloads\\");
    const CatalogEntry no_path = path_entry("dir:music", "Musique", "C:\\Music");
    const CatalogEntry quit =
        make_entry("cmd:quit", "Quitter", "", LaunchTarget::run_command(BuiltinCommand::Quit));
    const RecordedWindow other{1, "Notepad", "Téléchargements", {}, {}, {}};
    const RecordedWindow sub{2, "CabinetWClass", "Téléchargements", {}, {}, {}};
    const RecordedWindow full_title{3, "CabinetWClass", "C:\\Users\\Zoé\\Downloads", {}, {}, {}};
    const RecordedWindow right{4, "CabinetWClass", "TÉLÉCHARGEMENTS - Explorateur", {}, {}, {}};
    const std::vector<ShellFolderWindow> folders = {
        {2, "file:///C:/Users/Zo%C3%A9/Downloads/Sub"},
        {3, "file:///C:/Users/Zo%C3%A9/Downloads"},
        {4, "file:///c:/users/ZO%C3%89/downloads/"},
        {1, "file:///C:/Users/Zo%C3%A9/Downloads"},
    };
    const struct {
        const char* what;
        const CatalogEntry& entry;
        std::vector<RecordedWindow> windows;
        std::optional<WindowHandle> found;
    } cases[] = {
        {"any Explorer window, whatever it shows", explorer, {other, full_title, right}, 3},
        {"no Explorer window", explorer, {other}, std::nullopt},
        {"same folder, title beginning with the name",
         downloads,
         {other, sub, full_title, right},
         4},
        {"a sub-folder or a path title does not count", downloads, {sub, full_title}, std::nullopt},
        {"a folder entry without a path", no_path, {right}, std::nullopt},
    };
    for (const auto& c : cases) {
        RecordedWindows desktop(c.windows, folders);
        EXPECT_EQ(find_open_window(c.entry, desktop), c.found) << c.what;
    }
    RecordedWindows desktop({right});
    EXPECT_FALSE(find_open_window(quit, desktop));
    EXPECT_EQ(desktop.lists, 0) << "commands never look at windows";
}

}  // namespace
}  // namespace talvo
