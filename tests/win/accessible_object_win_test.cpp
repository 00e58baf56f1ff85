// The popup's and the statistics window's objects as a reader in this process
// meets them: one focus owner, complete answers through IDispatch, failures
// from every method once the window is gone, and the statistics page answered
// from its last paint by the objects of its own window.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>

#include <functional>
#include <string>

#include "popup_test_state.h"
#include "win/platform/text_win.h"
#include "win/popup/accessible_object.h"
#include "win/popup/popup_window.h"

namespace talvo::win {
namespace {

using Accessible = ComPtr<IAccessible>;

void pump() {
    MSG message{};
    for (int i = 0; i < 10; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message != WM_QUIT) {
                DispatchMessageW(&message);
            }
        }
        Sleep(5);
    }
}

VARIANT child(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

Accessible client_object(HWND window) {
    Accessible object;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kAccessibleIid,
                               object.put_void());
    return object;
}

std::string name_of(IAccessible* object, long id) {
    BSTR name = nullptr;
    if (object->get_accName(child(id), &name) != S_OK) {
        return {};
    }
    std::string out = narrow(std::wstring_view(name, SysStringLen(name)));
    SysFreeString(name);
    return out;
}

// The name of the element that has the focus, followed down from `object`.
std::string focused_name(IAccessible* object) {
    VARIANT focus;
    VariantInit(&focus);
    if (object->get_accFocus(&focus) != S_OK) {
        return "(none)";
    }
    if (focus.vt == VT_I4) {
        return name_of(object, focus.lVal);
    }
    Accessible inner;
    if (focus.vt == VT_DISPATCH && focus.pdispVal != nullptr) {
        focus.pdispVal->QueryInterface(kAccessibleIid, inner.put_void());
    }
    VariantClear(&focus);
    return inner ? focused_name(inner.get()) : "(bad answer)";
}

class ShownPopup {
  public:
    ShownPopup(std::string query, std::size_t rows, std::size_t selected, bool shown)
        : test_(std::move(query), rows) {
        if (auto popup = test_.ui().popup.borrow()) {
            popup->selected = selected;
            popup->visible = shown;
        }
        if (shown) {
            ShowWindow(test_.hwnd(), SW_SHOWNOACTIVATE);
        }
    }
    ~ShownPopup() { pump(); }
    ShownPopup(const ShownPopup&) = delete;
    ShownPopup& operator=(const ShownPopup&) = delete;
    HWND get() { return test_.hwnd(); }

  private:
    TestLauncher test_;
};

TEST(PopupObjects, OneFocusOwnerFollowedDownFromTheDialog) {
    const ComApartment apartment;
    const struct {
        const char* query;
        std::size_t rows;
        std::size_t selected;
        bool shown;
        const char* focused;
    } cases[] = {
        {"d", 3, 1, true, "Dossier"},  // the selected row
        {"dzz", 0, 0, true, "Aucun résultat"},
        {"", 0, 0, true, "Rechercher"},
        {"d", 3, 0, false, "(none)"},  // a hidden popup has no focus to give
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        ShownPopup popup(c.query, c.rows, c.selected, c.shown);
        const Accessible dialog = client_object(popup.get());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(focused_name(dialog.get()), c.focused);
        if (c.rows > 0 && c.shown) {
            // The row is the list's child id of the selection, as its events name it.
            ComPtr<IDispatch> list_dispatch;
            ASSERT_EQ(dialog->get_accChild(child(2), list_dispatch.put()), S_OK);
            const Accessible list = [&] {
                Accessible out;
                list_dispatch->QueryInterface(kAccessibleIid, out.put_void());
                return out;
            }();
            VARIANT focus;
            ASSERT_EQ(list->get_accFocus(&focus), S_OK);
            EXPECT_EQ(focus.vt, VT_I4);
            EXPECT_EQ(focus.lVal, static_cast<long>(c.selected + 1));
        }
    }
}

TEST(PopupObjects, IDispatchAnswersThroughTheTypeLibrary) {
    const ComApartment apartment;
    ShownPopup popup("d", 3, 0, true);
    const Accessible dialog = client_object(popup.get());
    ASSERT_TRUE(dialog);
    UINT count = 7;
    ASSERT_EQ(dialog->GetTypeInfoCount(&count), S_OK);
    ASSERT_EQ(count, 1u) << "oleacc's type library is registered under Wine";
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(dialog->GetTypeInfo(0, 0, info.put()), S_OK);
    EXPECT_TRUE(info);
    EXPECT_EQ(dialog->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
    wchar_t name_text[] = L"accName";
    LPOLESTR names[] = {name_text};
    DISPID id = 0;
    ASSERT_EQ(dialog->GetIDsOfNames(GUID{}, names, 1, 0, &id), S_OK);
    EXPECT_EQ(id, DISPID_ACC_NAME);
    VARIANT argument = child(CHILDID_SELF);
    DISPPARAMS parameters{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(dialog->Invoke(DISPID_ACC_NAME, GUID{}, 0, DISPATCH_PROPERTYGET, &parameters, &result,
                             nullptr, nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal), L"Talvo");
    VariantClear(&result);
}

// Every method of a disconnected object, and what it leaves in its out-parameter.
struct Question {
    const char* name;
    std::function<HRESULT(IAccessible*)> ask;
};

TEST(PopupObjects, EveryMethodFailsOnceTheWindowIsGone) {
    const ComApartment apartment;
    Accessible dialog;
    {
        ShownPopup popup("d", 3, 0, true);
        dialog = client_object(popup.get());
        ASSERT_TRUE(dialog);
        ASSERT_EQ(name_of(dialog.get(), CHILDID_SELF), "Talvo");
    }
    VARIANT out;
    BSTR text = reinterpret_cast<BSTR>(1);
    long number = 7;
    IDispatch* dispatch = reinterpret_cast<IDispatch*>(1);
    const auto stale_variant = [&] {
        out.vt = VT_I4;
        out.lVal = 99;
        return &out;
    };
    const Question questions[] = {
        {"get_accName", [&](IAccessible* a) { return a->get_accName(child(0), &text); }},
        {"get_accValue", [&](IAccessible* a) { return a->get_accValue(child(1), &text); }},
        {"get_accDescription",
         [&](IAccessible* a) { return a->get_accDescription(child(0), &text); }},
        {"get_accKeyboardShortcut",
         [&](IAccessible* a) { return a->get_accKeyboardShortcut(child(0), &text); }},
        {"get_accDefaultAction",
         [&](IAccessible* a) { return a->get_accDefaultAction(child(0), &text); }},
        {"get_accHelp", [&](IAccessible* a) { return a->get_accHelp(child(0), &text); }},
        {"get_accRole", [&](IAccessible* a) { return a->get_accRole(child(0), stale_variant()); }},
        {"get_accState",
         [&](IAccessible* a) { return a->get_accState(child(0), stale_variant()); }},
        {"get_accFocus", [&](IAccessible* a) { return a->get_accFocus(stale_variant()); }},
        {"get_accSelection", [&](IAccessible* a) { return a->get_accSelection(stale_variant()); }},
        {"accHitTest", [&](IAccessible* a) { return a->accHitTest(1, 1, stale_variant()); }},
        {"accNavigate",
         [&](IAccessible* a) {
             return a->accNavigate(NAVDIR_FIRSTCHILD, child(0), stale_variant());
         }},
        {"get_accChildCount", [&](IAccessible* a) { return a->get_accChildCount(&number); }},
        {"get_accChild", [&](IAccessible* a) { return a->get_accChild(child(2), &dispatch); }},
        {"get_accParent", [&](IAccessible* a) { return a->get_accParent(&dispatch); }},
        {"accLocation",
         [&](IAccessible* a) {
             return a->accLocation(&number, &number, &number, &number, child(0));
         }},
        {"accDoDefaultAction", [&](IAccessible* a) { return a->accDoDefaultAction(child(1)); }},
        {"accSelect", [&](IAccessible* a) { return a->accSelect(SELFLAG_TAKEFOCUS, child(1)); }},
        {"GetTypeInfoCount",
         [&](IAccessible* a) { return a->GetTypeInfoCount(reinterpret_cast<UINT*>(&number)); }},
    };
    for (const Question& q : questions) {
        VariantInit(&out);
        text = reinterpret_cast<BSTR>(1);
        dispatch = reinterpret_cast<IDispatch*>(1);
        number = 7;
        EXPECT_EQ(q.ask(dialog.get()), CO_E_OBJNOTCONNECTED) << q.name;
        EXPECT_EQ(out.vt, VT_EMPTY) << q.name << ": the VARIANT is initialised first";
        EXPECT_TRUE(text == nullptr || text == reinterpret_cast<BSTR>(1)) << q.name;
        EXPECT_TRUE(dispatch == nullptr || dispatch == reinterpret_cast<IDispatch*>(1)) << q.name;
    }
}

}  // namespace
}  // namespace talvo::win
