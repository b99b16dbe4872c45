// Move-only owners for the Win32 handles the program keeps.
#pragma once

#include <windows.h>

#include <utility>

namespace orvanel {

template <typename Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() noexcept = default;
    explicit Unique(Handle h) noexcept : h_(h) {}
    Unique(Unique&& other) noexcept : h_(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { reset(); }

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::Valid(h_); }
    Handle release() noexcept { return std::exchange(h_, Handle{}); }
    void reset(Handle h = Handle{}) noexcept {
        if (Traits::Valid(h_)) Traits::Close(h_);
        h_ = h;
    }
    // For APIs that hand the handle back through a pointer.
    Handle* put() noexcept {
        reset();
        return &h_;
    }

private:
    Handle h_{};
};

struct KernelTraits {
    using Handle = HANDLE;
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct KeyTraits {
    using Handle = HKEY;
    static bool Valid(HKEY h) { return h != nullptr; }
    static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct IconTraits {
    using Handle = HICON;
    static bool Valid(HICON h) { return h != nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static bool Valid(HMENU h) { return h != nullptr; }
    static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct GdiTraits {
    using Handle = HGDIOBJ;
    static bool Valid(HGDIOBJ h) { return h != nullptr; }
    static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};

using UniqueHandle = Unique<KernelTraits>;
using UniqueKey = Unique<KeyTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueGdiObject = Unique<GdiTraits>;

// A GDI object selected into a DC until the end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's DC, with a font selected when one is given, for measuring text
// before drawing; released at the end of the scope.
class MeasuringDc {
public:
    MeasuringDc(HWND window, HGDIOBJ font)
        : window_(window), dc_(::GetDC(window)), previous_(font ? ::SelectObject(dc_, font) : nullptr) {}
    ~MeasuringDc() {
        if (previous_ != nullptr) ::SelectObject(dc_, previous_);
        ::ReleaseDC(window_, dc_);
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace orvanel
