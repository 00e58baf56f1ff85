#include "win/popup/accessible_object.h"

#include <algorithm>

#include "win/platform/text_win.h"
#include "win/platform/unique_resource.h"

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

// IID_NULL, which IDispatch callers pass; spelled here rather than linked.
constexpr GUID kNoInterface = {};

// An out-parameter as a failed call leaves it.
void clear(BSTR* out) {
    *out = nullptr;
}
void clear(VARIANT* out) {
    VariantInit(out);
}
void clear(long* out) {
    *out = 0;
}
void clear(UINT* out) {
    *out = 0;
}
template <typename Interface>
void clear(Interface** out) {
    *out = nullptr;
}

// The type library of IAccessible, which oleacc registers: it lets scripting
// clients call the object through IDispatch.
ComPtr<ITypeInfo> load_accessible_type_info() {
    constexpr GUID kAccessibilityLibrary = {
        0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(LoadRegTypeLib(kAccessibilityLibrary, 1, 1, LOCALE_NEUTRAL, library.put()))) {
        library->GetTypeInfoOfGuid(kAccessibleIid, info.put());
    }
    return info;
}

}  // namespace

template <typename... Out>
HRESULT AccessibleObject::begin(Out*... out) const {
    if (((out == nullptr) || ...)) {
        return E_POINTER;
    }
    (clear(out), ...);
    return connected_ ? S_OK : CO_E_OBJNOTCONNECTED;
}

ComPtr<AccessibleObject> AccessibleObject::create(HWND hwnd,
                                                  std::unique_ptr<AccessibleSource> source) {
    return ComPtr<AccessibleObject>(new AccessibleObject(hwnd, std::move(source)));
}

AccessibleObject::AccessibleObject(HWND hwnd, std::unique_ptr<AccessibleSource> source)
    : hwnd_(hwnd), source_(std::move(source)) {}

AccessibleObject::~AccessibleObject() {
    drop_links();
}

void AccessibleObject::set_child_object(std::size_t index, ComPtr<AccessibleObject> child) {
    child_objects_.emplace_back(index, std::move(child));
}

void AccessibleObject::set_parent(ComPtr<AccessibleObject> parent) {
    parent_ = std::move(parent);
}

void AccessibleObject::disconnect() {
    if (!std::exchange(connected_, false)) {
        return;
    }
    drop_links();
    // Readers of other processes hold a proxy: its stub lets go of this object
    // and their next call fails at once, without reaching it.
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

void AccessibleObject::drop_links() {
    source_.reset();
    last_.reset();
    type_info_.reset();
    // Moved out first: a release may end the object whose links these are.
    const auto children = std::exchange(child_objects_, {});
    const ComPtr<AccessibleObject> parent = std::move(parent_);
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
    if (const HRESULT checked = begin(out); checked != S_OK) {
        return checked;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    const std::string& text = found->*field;
    if (text.empty()) {
        return S_FALSE;
    }
    *out = SysAllocString(widen(text).c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

void AccessibleObject::child_variant(std::size_t index, VARIANT* out) {
    if (AccessibleObject* object = child_object(index)) {
        VariantInit(out);
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        object->AddRef();
        return;
    }
    set_child_id(out, static_cast<long>(index + 1));
}

AccessibleObject* AccessibleObject::child_object(std::size_t index) const {
    for (const auto& [child_index, object] : child_objects_) {
        if (child_index == index) {
            return object.get();
        }
    }
    return nullptr;
}

ITypeInfo* AccessibleObject::type_info() {
    if (!type_info_ && connected_) {
        type_info_ = load_accessible_type_info();
    }
    return type_info_.get();
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
    if (const HRESULT checked = begin(count); checked != S_OK) {
        return checked;
    }
    *count = type_info() != nullptr ? 1 : 0;
    return S_OK;
}

STDMETHODIMP AccessibleObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (const HRESULT checked = begin(info); checked != S_OK) {
        return checked;
    }
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    ITypeInfo* known = type_info();
    if (known == nullptr) {
        return E_NOTIMPL;
    }
    known->AddRef();
    *info = known;
    return S_OK;
}

STDMETHODIMP AccessibleObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                             DISPID* ids) {
    if (names == nullptr || ids == nullptr) {
        return E_POINTER;
    }
    if (!connected_) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (!IsEqualIID(riid, kNoInterface)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    ITypeInfo* known = type_info();
    return known != nullptr ? DispGetIDsOfNames(known, names, count, ids) : E_NOTIMPL;
}

STDMETHODIMP AccessibleObject::Invoke(DISPID member, REFIID riid, LCID, WORD flags,
                                      DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                      UINT* wrong_argument) {
    if (result != nullptr) {
        VariantInit(result);
    }
    if (!connected_) {
        return CO_E_OBJNOTCONNECTED;
    }
    if (!IsEqualIID(riid, kNoInterface)) {
        return DISP_E_UNKNOWNINTERFACE;
    }
    ITypeInfo* known = type_info();
    if (known == nullptr) {
        return E_NOTIMPL;
    }
    return DispInvoke(static_cast<IAccessible*>(this), known, member, flags, parameters, result,
                      exception, wrong_argument);
}

STDMETHODIMP AccessibleObject::get_accParent(IDispatch** parent) {
    if (const HRESULT checked = begin(parent); checked != S_OK) {
        return checked;
    }
    if (parent_) {
        return parent_->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(parent));
    }
    return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
}

STDMETHODIMP AccessibleObject::get_accChildCount(long* count) {
    if (const HRESULT checked = begin(count); checked != S_OK) {
        return checked;
    }
    const AccessibleContent* now = content();
    *count = now != nullptr ? static_cast<long>(now->children.size()) : 0;
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
    if (const HRESULT checked = begin(object); checked != S_OK) {
        return checked;
    }
    const std::optional<long> id = child_id(child);
    const AccessibleContent* now = content();
    if (!id || now == nullptr || *id < 1 || static_cast<std::size_t>(*id) > now->children.size()) {
        return E_INVALIDARG;
    }
    if (AccessibleObject* full = child_object(static_cast<std::size_t>(*id - 1))) {
        return full->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
    }
    return S_FALSE;  // a simple element: its parent answers for it
}

STDMETHODIMP AccessibleObject::get_accName(VARIANT child, BSTR* name) {
    return text_of(child, name, &access::Element::name);
}

STDMETHODIMP AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    if (const HRESULT checked = begin(value); checked != S_OK) {
        return checked;
    }
    const access::Element* found = element(child);
    if (found != nullptr && found->role == access::Role::Text) {
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
    if (const HRESULT checked = begin(role); checked != S_OK) {
        return checked;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    set_child_id(role, msaa_role(found->role));
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (const HRESULT checked = begin(state); checked != S_OK) {
        return checked;
    }
    const access::Element* found = element(child);
    if (found == nullptr) {
        return E_INVALIDARG;
    }
    set_child_id(state, msaa_states(found->states));
    return S_OK;
}

STDMETHODIMP AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
    if (const HRESULT checked = begin(help); checked != S_OK) {
        return checked;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (const HRESULT checked = begin(file, topic); checked != S_OK) {
        return checked;
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return text_of(child, shortcut, &access::Element::shortcut);
}

bool AccessibleObject::holds_focus() {
    VARIANT focus;
    VariantInit(&focus);
    const bool holds = get_accFocus(&focus) == S_OK && focus.vt != VT_EMPTY;
    VariantClear(&focus);
    return holds;
}

// One owner at a time: this object itself, one of its elements, or a child
// object that holds it further down; nothing when the focus is elsewhere.
STDMETHODIMP AccessibleObject::get_accFocus(VARIANT* focus) {
    if (const HRESULT checked = begin(focus); checked != S_OK) {
        return checked;
    }
    const AccessibleContent* now = content();
    if (now == nullptr) {
        return S_FALSE;
    }
    if ((now->self.states & access::kFocused) != 0) {
        set_child_id(focus, CHILDID_SELF);
        return S_OK;
    }
    for (std::size_t i = 0; i < now->children.size(); ++i) {
        AccessibleObject* full = child_object(i);
        if ((now->children[i].states & access::kFocused) != 0 ||
            (full != nullptr && full->holds_focus())) {
            child_variant(i, focus);
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accSelection(VARIANT* selection) {
    if (const HRESULT checked = begin(selection); checked != S_OK) {
        return checked;
    }
    const AccessibleContent* now = content();
    if (now == nullptr) {
        return S_FALSE;
    }
    for (std::size_t i = 0; i < now->children.size(); ++i) {
        if ((now->children[i].states & access::kSelected) != 0) {
            child_variant(i, selection);
            return S_OK;
        }
    }
    return S_FALSE;
}

STDMETHODIMP AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    return text_of(child, action, &access::Element::default_action);
}

STDMETHODIMP AccessibleObject::accSelect(long, VARIANT) {
    return connected_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP AccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                           VARIANT child) {
    if (const HRESULT checked = begin(left, top, width, height); checked != S_OK) {
        return checked;
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
    if (const HRESULT checked = begin(end); checked != S_OK) {
        return checked;
    }
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
    if (const HRESULT checked = begin(child); checked != S_OK) {
        return checked;
    }
    const AccessibleContent* now = content();
    if (now == nullptr) {
        return S_FALSE;
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
    if (!connected_) {
        return CO_E_OBJNOTCONNECTED;
    }
    const std::optional<long> id = child_id(child);
    const access::Element* found = element(child);
    if (!id || found == nullptr || *id < 1 || found->default_action.empty()) {
        return DISP_E_MEMBERNOTFOUND;
    }
    source_->activate(static_cast<std::size_t>(*id - 1));
    return S_OK;
}

STDMETHODIMP AccessibleObject::put_accName(VARIANT, BSTR) {
    return connected_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

STDMETHODIMP AccessibleObject::put_accValue(VARIANT, BSTR) {
    return connected_ ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
}

}  // namespace talvo::win
