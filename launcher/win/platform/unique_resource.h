// Move-only owners for Win32 handles and COM pointers: one template, one
// alias per kind, so every handle is released in the scope that acquired it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cstdint>
#include <type_traits>
#include <utility>

namespace talvo::win {

// `InvalidValue` is the "no handle" value as an integer (0, or -1 for files).
template <typename Handle, auto Close, std::intptr_t InvalidValue = 0>
class UniqueResource {
    static Handle invalid() {
        if constexpr (std::is_pointer_v<Handle>) {
            return reinterpret_cast<Handle>(InvalidValue);
        } else {
            return static_cast<Handle>(InvalidValue);
        }
    }

  public:
    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != invalid(); }

    Handle release() { return std::exchange(handle_, invalid()); }

    void reset() { reset(invalid()); }
    void reset(Handle handle) {
        const Handle old = std::exchange(handle_, handle);
        if (old != invalid()) {
            Close(old);
        }
    }

  private:
    Handle handle_ = invalid();
};

namespace detail {
inline void close_handle(HANDLE h) {
    CloseHandle(h);
}
inline void delete_gdi_object(HGDIOBJ h) {
    DeleteObject(h);
}
inline void delete_dc(HDC h) {
    DeleteDC(h);
}
inline void destroy_menu(HMENU h) {
    DestroyMenu(h);
}
inline void destroy_window(HWND h) {
    DestroyWindow(h);
}
inline void free_co_task_memory(wchar_t* p) {
    CoTaskMemFree(p);
}
inline void close_key(HKEY h) {
    RegCloseKey(h);
}
inline void destroy_icon(HICON h) {
    DestroyIcon(h);
}
inline void free_bstr(BSTR text) {
    SysFreeString(text);
}
inline void free_module(HMODULE h) {
    FreeLibrary(h);
}
inline void close_find(HANDLE h) {
    FindClose(h);
}
}  // namespace detail

using unique_handle = UniqueResource<HANDLE, detail::close_handle>;
using unique_file = UniqueResource<HANDLE, detail::close_handle, -1>;
using unique_hbitmap = UniqueResource<HBITMAP, detail::delete_gdi_object>;
using unique_hfont = UniqueResource<HFONT, detail::delete_gdi_object>;
using unique_hbrush = UniqueResource<HBRUSH, detail::delete_gdi_object>;
using unique_hdc = UniqueResource<HDC, detail::delete_dc>;
using unique_hmenu = UniqueResource<HMENU, detail::destroy_menu>;
using unique_hwnd = UniqueResource<HWND, detail::destroy_window>;
using unique_hkey = UniqueResource<HKEY, detail::close_key>;
using unique_cotaskmem_string = UniqueResource<wchar_t*, detail::free_co_task_memory>;
using unique_hicon = UniqueResource<HICON, detail::destroy_icon>;
using unique_bstr = UniqueResource<BSTR, detail::free_bstr>;
using unique_module = UniqueResource<HMODULE, detail::free_module>;
using unique_find = UniqueResource<HANDLE, detail::close_find, -1>;  // FindFirstFileW's

// A window's device context from GetDC, given back with ReleaseDC.
class unique_window_dc {
  public:
    explicit unique_window_dc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~unique_window_dc() {
        if (dc_ != nullptr) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    unique_window_dc(const unique_window_dc&) = delete;
    unique_window_dc& operator=(const unique_window_dc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a device context and puts the previous one back.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectScope() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A COM interface pointer released on scope exit; no exceptions. With
// `BeforeRelease`, a member function of the interface's class run on the
// object before the pointer lets it go (an owner that disconnects it).
template <typename Interface, auto BeforeRelease = nullptr>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over the reference `owned` holds.
    explicit ComPtr(Interface* owned) : ptr_(owned) {}
    // Takes over another owner's reference, whatever that owner did before release.
    template <auto OtherBeforeRelease>
    explicit ComPtr(ComPtr<Interface, OtherBeforeRelease>&& other) : ptr_(other.release()) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }

    Interface* get() const { return ptr_; }
    Interface* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // Gives the reference up to the caller.
    Interface* release() { return std::exchange(ptr_, nullptr); }

    // Another owner of the same object: one more reference.
    ComPtr<Interface> share() const {
        if (ptr_ != nullptr) {
            ptr_->AddRef();
        }
        return ComPtr<Interface>(ptr_);
    }

    // For out-parameters: releases what is held and returns the slot.
    Interface** put() {
        reset();
        return &ptr_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    template <typename Other>
    ComPtr<Other> query() const {
        ComPtr<Other> other;
        if (ptr_ != nullptr) {
            ptr_->QueryInterface(__uuidof(Other), other.put_void());
        }
        return other;
    }

    void reset() {
        if (Interface* old = std::exchange(ptr_, nullptr)) {
            if constexpr (!std::is_same_v<decltype(BeforeRelease), std::nullptr_t>) {
                (old->*BeforeRelease)();
            }
            old->Release();
        }
    }

  private:
    Interface* ptr_ = nullptr;
};

// Initialises COM on this thread as a single-threaded apartment for the scope.
class ComApartment {
  public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (ok_) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool ok_;
};

}  // namespace talvo::win
