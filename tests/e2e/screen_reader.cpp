#include "screen_reader.h"

#include <oleacc.h>

#include "text_paths.h"
#include "win/platform/unique_resource.h"

namespace talvo::e2e {
namespace {

// IAccessible's identity spelled out: mingw-w64's import library exports the
// name IID_IAccessible as a thunk, which breaks marshalling.
constexpr GUID kAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

using Accessible = win::ComPtr<IAccessible>;

VARIANT child_id(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

template <typename Getter>
std::string text(Getter get) {
    BSTR value = nullptr;
    if (get(&value) != S_OK || value == nullptr) {
        return {};
    }
    std::string out = utf8(value);
    SysFreeString(value);
    return out;
}

ReadElement read_element(IAccessible* object, long id) {
    const VARIANT child = child_id(id);
    ReadElement e;
    e.name = text([&](BSTR* b) { return object->get_accName(child, b); });
    e.value = text([&](BSTR* b) { return object->get_accValue(child, b); });
    e.description = text([&](BSTR* b) { return object->get_accDescription(child, b); });
    e.shortcut = text([&](BSTR* b) { return object->get_accKeyboardShortcut(child, b); });
    e.default_action = text([&](BSTR* b) { return object->get_accDefaultAction(child, b); });
    VARIANT v;
    VariantInit(&v);
    if (object->get_accRole(child, &v) == S_OK && v.vt == VT_I4) {
        e.role = v.lVal;
    }
    VariantInit(&v);
    if (object->get_accState(child, &v) == S_OK && v.vt == VT_I4) {
        e.state = v.lVal;
    }
    long left = 0;
    long top = 0;
    long width = 0;
    long height = 0;
    if (object->accLocation(&left, &top, &width, &height, child) == S_OK) {
        e.location = RECT{left, top, left + width, top + height};
    }
    return e;
}

// The children as AccessibleChildren lists them: simple ids, or full objects.
std::vector<VARIANT> children_of(IAccessible* object) {
    long count = 0;
    if (object->get_accChildCount(&count) != S_OK || count <= 0) {
        return {};
    }
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    long obtained = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &obtained))) {
        return {};
    }
    children.resize(static_cast<std::size_t>(obtained));
    return children;
}

void clear(std::vector<VARIANT>& variants) {
    for (VARIANT& v : variants) {
        VariantClear(&v);
    }
}

Accessible client_object(HWND window) {
    Accessible object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kAccessibleIid,
                               object.put_void());
    return object;
}

// The full object behind a child's IDispatch, or nothing.
Accessible accessible_of(IDispatch* dispatch) {
    Accessible object;
    if (dispatch != nullptr) {
        dispatch->QueryInterface(kAccessibleIid, object.put_void());
    }
    return object;
}

std::vector<ReadElement> simple_children(IAccessible* object) {
    std::vector<VARIANT> children = children_of(object);
    std::vector<ReadElement> out;
    for (const VARIANT& v : children) {
        if (v.vt == VT_I4) {
            out.push_back(read_element(object, v.lVal));
        }
    }
    clear(children);
    return out;
}

// The name of the element get_accFocus names, followed into child objects.
std::string focused_name(IAccessible* object, int depth = 0) {
    VARIANT focus;
    VariantInit(&focus);
    if (depth > 4 || object->get_accFocus(&focus) != S_OK) {
        return {};
    }
    if (focus.vt == VT_I4) {
        return read_element(object, focus.lVal).name;
    }
    const Accessible inner = focus.vt == VT_DISPATCH ? accessible_of(focus.pdispVal) : Accessible();
    VariantClear(&focus);
    return inner ? focused_name(inner.get(), depth + 1) : std::string();
}

}  // namespace

std::optional<ReadPopup> read_popup(HWND popup) {
    const win::ComApartment apartment;
    const Accessible root = client_object(popup);
    if (root.get() == nullptr) {
        return std::nullopt;
    }
    std::vector<VARIANT> children = children_of(root.get());
    if (children.size() != 2 || children[0].vt != VT_I4 || children[1].vt != VT_DISPATCH) {
        clear(children);
        return std::nullopt;
    }
    ReadPopup read;
    read.window = read_element(root.get(), CHILDID_SELF);
    read.query = read_element(root.get(), children[0].lVal);
    const Accessible list = accessible_of(children[1].pdispVal);
    clear(children);
    if (!list) {
        return std::nullopt;
    }
    read.list = read_element(list.get(), CHILDID_SELF);
    read.rows = simple_children(list.get());
    read.focused = focused_name(root.get());
    return read;
}

bool open_row(HWND popup, long row) {
    const win::ComApartment apartment;
    const Accessible root = client_object(popup);
    if (root.get() == nullptr) {
        return false;
    }
    win::ComPtr<IDispatch> list_dispatch;
    if (root->get_accChild(child_id(2), list_dispatch.put()) != S_OK) {
        return false;
    }
    const Accessible list = accessible_of(list_dispatch.get());
    return list && list->accDoDefaultAction(child_id(row + 1)) == S_OK;
}

std::optional<std::pair<ReadElement, std::vector<ReadElement>>> read_client(HWND window) {
    const win::ComApartment apartment;
    const Accessible root = client_object(window);
    if (root.get() == nullptr) {
        return std::nullopt;
    }
    return std::pair{read_element(root.get(), CHILDID_SELF), simple_children(root.get())};
}

KeptObject::KeptObject(HWND window) : object_(client_object(window)) {}

HRESULT KeptObject::ask_name(std::string* name) const {
    BSTR text = nullptr;
    const HRESULT answer = object_->get_accName(child_id(CHILDID_SELF), &text);
    if (answer == S_OK && text != nullptr) {
        *name = utf8(text);
    }
    SysFreeString(text);
    return answer;
}

}  // namespace talvo::e2e
