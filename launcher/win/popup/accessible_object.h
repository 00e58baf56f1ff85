// One accessible object of a window for screen readers (Microsoft Active
// Accessibility): an element and its simple children, read again from the
// window's state at every question, so a reader never hears stale rows. The
// window owns it and disconnects it when it goes.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "core/page/access_element.h"
#include "win/platform/unique_resource.h"

namespace talvo::win {

struct AccessibleContent {
    access::Element self;
    std::vector<access::Element> children;  // child ids 1..n
};

// Where an object reads what it shows.
class AccessibleSource {
  public:
    virtual ~AccessibleSource() = default;
    // The element and its children now; nothing when the state is busy.
    virtual std::optional<AccessibleContent> read() = 0;
    // The default action of child `index` (0-based), as a click would do it.
    virtual void activate(std::size_t index) { (void)index; }
};

class AccessibleObject final : public IAccessible {
  public:
    // A new object, for the window's AccessibleRoot.
    static ComPtr<AccessibleObject> create(HWND hwnd, std::unique_ptr<AccessibleSource> source);

    // Child `index` (0-based) is this full object rather than a simple element.
    void set_child_object(std::size_t index, ComPtr<AccessibleObject> child);
    // The object a reader reaches as this one's parent (by default the window's frame).
    void set_parent(ComPtr<AccessibleObject> parent);
    // The window is gone: every question fails from now on (CO_E_OBJNOTCONNECTED
    // in this process; another process's proxy is cut off), and the links to
    // other objects are dropped.
    void disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch, through oleacc's type library of IAccessible; without it
    // (not registered) E_NOTIMPL, and readers use the IAccessible methods.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                        UINT*) override;
    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override;
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override;
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* description) override;
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override;
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override;
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* help) override;
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override;
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override;
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override;

  private:
    AccessibleObject(HWND hwnd, std::unique_ptr<AccessibleSource> source);
    ~AccessibleObject();

    // The checks every method starts with: the out-parameters are cleared (a
    // VARIANT initialised), and a disconnected object answers
    // CO_E_OBJNOTCONNECTED. S_OK when the method may go on.
    template <typename... Out>
    HRESULT begin(Out*... out) const;
    // Releases the source, the type information and the links to other objects.
    void drop_links();
    // The full object of child `index` (0-based), if it is one.
    AccessibleObject* child_object(std::size_t index) const;
    // Whether this object or one of its children has the focus.
    bool holds_focus();
    // oleacc's type information of IAccessible, loaded at the first need.
    ITypeInfo* type_info();
    // The content now, or the last one read when the state is busy.
    const AccessibleContent* content();
    // The element a child id names (0: the object itself); null for an unknown id.
    const access::Element* element(const VARIANT& child);
    // A text of an element as a new BSTR, or S_FALSE without one.
    template <typename Field>
    HRESULT text_of(const VARIANT& child, BSTR* out, Field field);
    // The child id, or the full object, of child `index` (0-based).
    void child_variant(std::size_t index, VARIANT* out);

    std::atomic<ULONG> references_{1};
    HWND hwnd_;
    std::unique_ptr<AccessibleSource> source_;
    std::optional<AccessibleContent> last_;
    std::vector<std::pair<std::size_t, ComPtr<AccessibleObject>>> child_objects_;
    ComPtr<AccessibleObject> parent_;
    ComPtr<ITypeInfo> type_info_;
    bool connected_ = true;
};

// The identity of IAccessible, spelled out: mingw-w64's import library
// exports the name IID_IAccessible as a thunk, not as the GUID.
inline constexpr GUID kAccessibleIid = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A window's own reference to one of its objects: it disconnects the object
// when it lets it go, so that readers still holding it get failures.
using AccessibleRoot = ComPtr<AccessibleObject, &AccessibleObject::disconnect>;

}  // namespace talvo::win
