#include "win/popup/accessible_object.h"

#include <algorithm>

#include "win/platform/text_win.h"

namespace talvo::win {
namespace {

long msaa_role(access::Role role) {
    switch (role) {
        case access::Role::Dialog:
            return ROLE_SYSTEM_DIALOG;
        case access::Role::Text:
            return ROLE_SYSTEM_TEXT;
        case access::Role::List:
            return ROLE_SYSTEM_LIST;
        case access::Role::ListItem:
            return ROLE_SYSTEM_LISTITEM;
        case access::Role::Document:
            return ROLE_SYSTEM_DOCUMENT;
        case access::Role::StaticText:
            return ROLE_SYSTEM_STATICTEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

long msaa_states(std::uint32_t states) {
    const std::pair<std::uint32_t, long> flags[] = {
        {access::kFocusable, STATE_SYSTEM_FOCUSABLE},
        {access::kFocused, STATE_SYSTEM_FOCUSED},
        {access::kSelectable, STATE_SYSTEM_SELECTABLE},
        {access::kSelected, STATE_SYSTEM_SELECTED},
        {access::kReadOnly, STATE_SYSTEM_READONLY},
        {access::kInvisible, STATE_SYSTEM_INVISIBLE},
    };
    long out = 0;
    for (const auto& [ours, theirs] : flags) {
        out |= (states & ours) != 0 ? theirs : 0;
    }
    return out;
}

// A child id: VT_I4, 0 for the object itself. Anything else names nothing.
std::optional<long> child_id(const VARIANT& child) {
    if (child.vt != VT_I4) {
        return std::nullopt;
    }
    return child.lVal;
}

void set_child_id(VARIANT* out, long id) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

}  // namespace

AccessibleObject* AccessibleObject::create(HWND hwnd, std::unique_ptr<AccessibleSource> source) {
    return new AccessibleObject(hwnd, std::move(source));
}

AccessibleObject::AccessibleObject(HWND hwnd, std::unique_ptr<AccessibleSource> source)
    : hwnd_(hwnd), source_(std::move(source)) {}

AccessibleObject::~AccessibleObject() {
    disconnect();
}

void AccessibleObject::set_child_object(std::size_t index, AccessibleObject* child) {
    child->AddRef();
    child_objects_.emplace_back(index, child);
}

void AccessibleObject::set_parent(AccessibleObject* parent) {
    parent->AddRef();
    parent_ = parent;
}

void AccessibleObject::disconnect() {
    connected_ = false;
    source_.reset();
    last_.reset();
    for (auto& [index, child] : std::exchange(child_objects_, {})) {
        child->Release();
    }
    if (AccessibleObject* parent = std::exchange(parent_, nullptr)) {
        parent->Release();
    }
}

const AccessibleContent* AccessibleObject::content() {
    if (!connected_ || !source_) {
        return nullptr;
    }
    if (std::optional<AccessibleContent> now = source_->read()) {
        last_ = std::move(now);
    }
    return last_ ? &*last_ : nullptr;
}

const access::Element* AccessibleObject::element(const VARIANT& child) {
    const std::optional<long> id = child_id(child);
    const AccessibleContent* now = content();
    if (!id || now == nullptr || *id < 0) {
        return nullptr;
    }
    if (*id == CHILDID_SELF) {
        return &now->self;
    }
    const auto index = static_cast<std::size_t>(*id - 1);
    return index < now->children.size() ? &now->children[index] : nullptr;
}

template <typename Field>
HRESULT AccessibleObject::text_of(const VARIANT& child, BSTR* out, Field field) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    const access::Element* found = element(child);
    if (found == nullptr) {
        return connected_ ? E_INVALIDARG : CO_E_OBJNOTCONNECTED;
    }
    const std::string& text = found->*field;
    if (text.empty()) {
        return S_FALSE;
    }
    *out = SysAllocString(widen(text).c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void AccessibleObject::child_variant(std::size_t index, VARIANT* out) {
    for (const auto& [child_index, object] : child_objects_) {
        if (child_index == index) {
            VariantInit(out);
            out->vt = VT_DISPATCH;
            out->pdispVal = object;
            object->AddRef();
            return;
        }
    }
    set_child_id(out, static_cast<long>(index + 1));
}

STDMETHODIMP AccessibleObject::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
        IsEqualIID(riid, kAccessibleIid)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) AccessibleObject::AddRef() {
    return ++references_;
}

STDMETHODIMP_(ULONG) AccessibleObject::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

STDMETHODIMP AccessibleObject::GetTypeInfoCount(UINT* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

STDMETHODIMP AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::get_accParent(IDispatch** parent) {
    if (parent == nullptr) {
        return E_POINTER;
    }
    *parent = nullptr;
    if (!connected_) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (parent_ != nullptr) {
        return parent_->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
}

STDMETHODIMP AccessibleObject::get_accChildCount(long* count) {
    if (count == nullptr) {
        return E_POINTER;
    }
    const AccessibleContent* now = content();
    *count = now != nullptr ? static_cast<long>(now->children.size()) : 0;
    return now != nullptr ? S_OK : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    const std::optional<long> id = child_id(child);
    const AccessibleContent* now = content();
    if (!id || now == nullptr || *id < 1 || static_cast<std::size_t>(*id) > now->children.size()) {
        return E_INVALIDARG;
    }
    for (const auto& [index, child_object] : child_objects_) {
        if (index + 1 == static_cast<std::size_t>(*id)) {
            return child_object->QueryInterface(__uuidof(IDispatch),
                                                reinterpret_cast<void**>(object));
        }
    }
    return S_FALSE;  // a simple element: its parent answers for it
}

STDMETHODIMP AccessibleObject::get_accName(VARIANT child, BSTR* name) {
    return text_of(child, name, &access::Element::name);
}

STDMETHODIMP AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    const access::Element* found = element(child);
    if (found != nullptr && found->role == access::Role::Text && value != nullptr) {
        // An empty query is still a value: the line is empty.
        *value = SysAllocString(widen(found->value).c_str());
        return *value != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    return text_of(child, value, &access::Element::value);
}

STDMETHODIMP AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
    return text_of(child, description, &access::Element::description);
}

STDMETHODIMP AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (role == nullptr) {
        return E_POINTER;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    set_child_id(role, msaa_role(found->role));
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (state == nullptr) {
        return E_POINTER;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    set_child_id(state, msaa_states(found->states));
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
    if (help != nullptr) {
        *help = nullptr;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file != nullptr) {
        *file = nullptr;
    }
    if (topic != nullptr) {
        *topic = 0;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return text_of(child, shortcut, &access::Element::shortcut);
}

HRESULT AccessibleObject::first_child_with(std::uint32_t state, VARIANT* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    VariantInit(out);
    const AccessibleContent* now = content();
    if (now == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    for (std::size_t i = 0; i < now->children.size(); ++i) {
        if ((now->children[i].states & state) != 0) {
            child_variant(i, out);
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accFocus(VARIANT* focus) {
    return first_child_with(access::kFocused, focus);
}

STDMETHODIMP AccessibleObject::get_accSelection(VARIANT* selection) {
    return first_child_with(access::kSelected, selection);
}

STDMETHODIMP AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    return text_of(child, action, &access::Element::default_action);
}

STDMETHODIMP AccessibleObject::accSelect(long, VARIANT) {
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                           VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
        return E_POINTER;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    POINT corner{found->rect.left, found->rect.top};
    ClientToScreen(hwnd_, &corner);
    *left = corner.x;
    *top = corner.y;
    *width = found->rect.right - found->rect.left;
    *height = found->rect.bottom - found->rect.top;
    return S_OK;
}

STDMETHODIMP AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) {
        return E_POINTER;
    }
    VariantInit(end);
    const std::optional<long> from = child_id(start);
    const AccessibleContent* now = content();
    if (!from || now == nullptr) {
        return E_INVALIDARG;
    }
    const auto count = static_cast<long>(now->children.size());
    long to = 0;
    switch (direction) {
        case NAVDIR_FIRSTCHILD:
            to = *from == CHILDID_SELF ? 1 : 0;
            break;
        case NAVDIR_LASTCHILD:
            to = *from == CHILDID_SELF ? count : 0;
            break;
        case NAVDIR_NEXT:
        case NAVDIR_DOWN:
            to = *from > 0 ? *from + 1 : 0;
            break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP:
            to = *from > 0 ? *from - 1 : 0;
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
    if (to < 1 || to > count) {
        return S_FALSE;
    }
    child_variant(static_cast<std::size_t>(to - 1), end);
    return S_OK;
}

STDMETHODIMP AccessibleObject::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) {
        return E_POINTER;
    }
    VariantInit(child);
    const AccessibleContent* now = content();
    if (now == nullptr) {
        return CO_E_OBJNOTCONNECTED;
    }
    POINT point{x, y};
    ScreenToClient(hwnd_, &point);
    const auto inside = [&](const layout::Rect& r) {
        return r.left <= point.x && point.x < r.right && r.top <= point.y && point.y < r.bottom;
    };
    for (std::size_t i = 0; i < now->children.size(); ++i) {
        if (inside(now->children[i].rect)) {
            child_variant(i, child);
            return S_OK;
        }
    }
    if (inside(now->self.rect)) {
        set_child_id(child, CHILDID_SELF);
        return S_OK;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::accDoDefaultAction(VARIANT child) {
    const std::optional<long> id = child_id(child);
    const access::Element* found = element(child);
    if (!id || found == nullptr || *id < 1 || found->default_action.empty()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    source_->activate(static_cast<std::size_t>(*id - 1));
    return S_OK;
}

STDMETHODIMP AccessibleObject::put_accName(VARIANT, BSTR) {
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP AccessibleObject::put_accValue(VARIANT, BSTR) {
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace talvo::win
