// Owning wrappers for Win32 handles: non-copyable, movable, released exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// Owns one handle of a kind described by Traits (Invalid() and Close(h)).
template <typename Traits>
class UniqueHandle {
  public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

    Handle release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(handle_, h);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

  private:
    Handle handle_ = Traits::Invalid();
};

// A handle type whose invalid value is null and which one call releases.
template <typename H, auto CloseFunction>
struct NullHandleTraits {
    using Handle = H;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { CloseFunction(h); }
};
// File handles are the exception: CreateFile fails with INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};
template <typename T>
using GdiObjectTraits = NullHandleTraits<T, &::DeleteObject>;

using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, &::CloseHandle>>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using Module = UniqueHandle<NullHandleTraits<HMODULE, &::FreeLibrary>>;
using RegKey = UniqueHandle<NullHandleTraits<HKEY, &::RegCloseKey>>;
using Icon = UniqueHandle<NullHandleTraits<HICON, &::DestroyIcon>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using MemoryDc = UniqueHandle<NullHandleTraits<HDC, &::DeleteDC>>;

// GetDC/ReleaseDC pair that remembers the window it must release against.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(hwnd_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept
        : hwnd_(other.hwnd_), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC for one scope and puts the previous one back.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A 32-bit top-down DIB section with direct access to its pixels (BGRA, premultiplied alpha).
class DibSection {
  public:
    DibSection() = default;
    DibSection(HDC reference, int width, int height);

    HBITMAP get() const { return bitmap_.get(); }
    explicit operator bool() const { return static_cast<bool>(bitmap_); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Pixel row y (0 = top); null when the section does not exist.
    DWORD* row(int y) const;

  private:
    Bitmap bitmap_;
    void* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace fw
