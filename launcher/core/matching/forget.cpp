#include "core/matching/forget.h"

#include "core/matching/history_file.h"
#include "core/shell/diagnostic_log.h"

namespace talvo {
namespace {

std::string launches_count(std::size_t launches) {
    return "(" + std::to_string(launches) + (launches == 1 ? " lancement)" : " lancements)");
}

// The path the memory was loaded from, or the one the environment gives.
const std::string& memory_path(LearningMemory& memory, const Platform& platform) {
    if (memory.history_path.empty()) {
        memory.history_path = history_path(platform.environment);
    }
    return memory.history_path;
}

}  // namespace

FilteredHistory without_launches_of(std::string_view text, std::string_view key) {
    FilteredHistory filtered;
    filtered.text.reserve(text.size());
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view line = text.substr(0, length);
        text.remove_prefix(length);
        const std::optional<LaunchRecord> record =
            parse_record_line(line.back() == '\n' ? line.substr(0, line.size() - 1) : line);
        if (record && record->key == key) {
            ++filtered.removed;
        } else {
            filtered.text.append(line);
        }
    }
    return filtered;
}

ForgetOutcome forget_entry(LearningMemory& memory, std::string_view key, const Platform& platform) {
    const std::string& path = memory_path(memory, platform);
    const std::optional<std::string> text = platform.files.read_file(path);
    if (!text && platform.files.exists(path)) {
        return {0, {false, "le fichier " + path + " ne peut pas être lu"}};
    }
    FilteredHistory filtered = without_launches_of(text.value_or(""), key);
    ForgetOutcome outcome{filtered.removed, {true, {}}};
    if (filtered.removed > 0) {
        outcome.written = platform.files.replace_atomically(path, filtered.text);
        if (!outcome.written.ok) {
            return outcome;
        }
    }
    memory.records = parse_history(filtered.text);
    rebuild(memory, platform.clock.unix_now());
    write_log(platform, forgotten_log(key, outcome.launches));
    return outcome;
}

ForgetOutcome forget_everything(LearningMemory& memory, const Platform& platform) {
    const std::string& path = memory_path(memory, platform);
    ForgetOutcome outcome{memory.records.size(), platform.files.replace_atomically(path, "")};
    if (!outcome.written.ok) {
        return outcome;
    }
    memory.records.clear();
    rebuild(memory, platform.clock.unix_now());
    write_log(platform, history_cleared_log(outcome.launches));
    return outcome;
}

std::string forgotten_log(std::string_view key, std::size_t launches) {
    return "oublié : " + std::string(key) + " " + launches_count(launches);
}

std::string history_cleared_log(std::size_t launches) {
    return "historique effacé " + launches_count(launches);
}

std::string forget_failure_text(std::string_view system_message) {
    return "Talvo n'a pas pu effacer l'historique : " + std::string(system_message);
}

}  // namespace talvo
