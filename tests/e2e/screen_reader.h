// Reading a window as a screen reader does, from this process: Microsoft
// Active Accessibility objects fetched with AccessibleObjectFromWindow and
// walked with AccessibleChildren, their texts, roles and states.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string>
#include <vector>

#include "win/platform/unique_resource.h"

namespace talvo::e2e {

struct ReadElement {
    std::string name;
    std::string value;
    std::string description;
    std::string shortcut;
    std::string default_action;
    long role = 0;
    long state = 0;
    RECT location{};
};

struct ReadPopup {
    ReadElement window;
    ReadElement query;
    ReadElement list;
    std::vector<ReadElement> rows;
    std::string focused;  // the name of the element get_accFocus leads to, followed down
};

// The popup's dialog, query line, list and rows; nothing when it does not answer.
std::optional<ReadPopup> read_popup(HWND popup);

// A reader's default action on row `row` (0-based) of the popup's list.
bool open_row(HWND popup, long row);

// The window's client object and the simple children under it.
std::optional<std::pair<ReadElement, std::vector<ReadElement>>> read_client(HWND window);

// A reader that keeps a window's client object, to ask it again later.
class KeptObject {
  public:
    explicit KeptObject(HWND window);
    KeptObject(const KeptObject&) = delete;
    KeptObject& operator=(const KeptObject&) = delete;

    bool held() const { return static_cast<bool>(object_); }
    // The object's own name, or the failure of the question.
    HRESULT ask_name(std::string* name) const;

  private:
    win::ComApartment apartment_;
    win::ComPtr<IAccessible> object_;
};

}  // namespace talvo::e2e
