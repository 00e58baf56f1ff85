#include "setup/win/setup_driver.h"

#include <windows.h>

#include <objbase.h>

#include "setup/core/messages.h"
#include "setup/core/switches.h"
#include "setup/win/files.h"
#include "setup/win/locations.h"
#include "setup/win/message_boxes.h"
#include "setup/win/payload.h"
#include "setup/win/processes.h"
#include "setup/win/registry.h"
#include "setup/win/shortcut.h"

namespace talvo::setup::win {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

int fail(const std::string& failure_text, bool silent) {
    if (!silent) {
        show_failure(failure_text);
    }
    return kFailure;
}

// Everything an install changes, in order; the first failure stops it and
// what was done stays.
StepResult install_steps(const InstallPaths& paths, bool autostart) {
    stop_running_launchers();
    if (StepResult step = create_install_folder(paths.folder); !step.ok()) {
        return step;
    }
    if (StepResult step = write_payload(paths.launcher, payload()); !step.ok()) {
        return step;
    }
    if (StepResult step = copy_uninstaller(paths.uninstaller); !step.ok()) {
        return step;
    }
    const Result<std::string> shortcut = shortcut_path();
    if (!shortcut.ok()) {
        return Failure{shortcut.failure_text()};
    }
    if (StepResult step = create_shortcut(shortcut.value(), paths); !step.ok()) {
        return step;
    }
    if (StepResult step = write_uninstall_entry(paths); !step.ok()) {
        return step;
    }
    if (autostart) {
        if (StepResult step = set_run_value(paths.launcher); !step.ok()) {
            return step;
        }
    } else {
        delete_run_value();  // a reinstall without start at log-on removes an older value
    }
    return start_launcher(paths);
}

int run_install(bool silent) {
    const Result<InstallPaths> paths = install_folder();
    if (!paths.ok()) {
        return fail(paths.failure_text(), silent);
    }
    bool autostart = true;
    if (!silent) {
        if (!ask_yes_no(install_question(paths.value().folder))) {
            return kSuccess;
        }
        autostart = ask_yes_no(autostart_question());
    }
    if (const StepResult installed = install_steps(paths.value(), autostart); !installed.ok()) {
        return fail(installed.failure_text(), silent);
    }
    if (!silent) {
        show_information(install_done_text());
    }
    return kSuccess;
}

// Unless silent, offers to delete the launcher's data folder when there is one.
void offer_history_removal(const std::string& data) {
    if (folder_exists(data) && ask_yes_no(history_question())) {
        delete_folder_tree(data);
    }
}

int run_uninstall(bool silent) {
    if (!silent && !ask_yes_no(uninstall_question())) {
        return kSuccess;
    }
    stop_running_launchers();
    const Result<InstallPaths> paths = install_folder();
    if (!paths.ok()) {
        return fail(paths.failure_text(), silent);
    }
    delete_file(paths.value().launcher);
    const Result<std::string> shortcut = shortcut_path();
    if (!shortcut.ok()) {
        return fail(shortcut.failure_text(), silent);
    }
    delete_file(shortcut.value());
    delete_run_value();
    delete_uninstall_entry();
    const Result<std::string> data = data_folder();
    if (!data.ok()) {
        return fail(data.failure_text(), silent);
    }
    if (!silent) {
        offer_history_removal(data.value());
        show_information(uninstall_done_text());
    }
    schedule_folder_removal(paths.value().folder);
    return kSuccess;
}

}  // namespace

int run_setup(const std::vector<std::string>& arguments_after_program) {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // Result ignored: only the shortcut needs COM, and its own failure is reported.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const SetupSwitches switches = parse_setup_switches(arguments_after_program);
    return switches.uninstall ? run_uninstall(switches.silent) : run_install(switches.silent);
}

}  // namespace talvo::setup::win
