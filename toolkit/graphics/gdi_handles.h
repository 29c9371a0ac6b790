// Owners of device contexts and GDI objects. Each is move-only and hands its
// handle out through get() alone; a context gives back what was selected
// into it, and only what the wrapper itself made is deleted.
#pragma once

#include <windows.h>

#include <utility>

namespace korv {

// A window's context from GetDC, released to that window. A null window
// gives the screen's context.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr))
    {
    }
    WindowDc& operator=(WindowDc&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    void reset()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
        dc_ = nullptr;
    }

    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// A context this code made (CreateCompatibleDC, CreateDC), deleted at the end.
class OwnedDc {
public:
    OwnedDc() = default;
    explicit OwnedDc(HDC dc) : dc_(dc) {}
    OwnedDc(OwnedDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    OwnedDc& operator=(OwnedDc&& other) noexcept
    {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    OwnedDc(const OwnedDc&) = delete;
    OwnedDc& operator=(const OwnedDc&) = delete;
    ~OwnedDc() { reset(); }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    // Gives the context up to a caller that deletes it.
    HDC release() { return std::exchange(dc_, nullptr); }

private:
    void reset()
    {
        if (dc_ != nullptr)
            DeleteDC(dc_);
        dc_ = nullptr;
    }

    HDC dc_ = nullptr;
};

// An object selected into a context for a while; the object it replaced is
// selected back at the end. Selecting nothing (a null object) does nothing.
class SelectedObject {
public:
    SelectedObject() = default;
    SelectedObject(HDC dc, HGDIOBJ object)
    {
        if (dc != nullptr && object != nullptr) {
            dc_ = dc;
            previous_ = SelectObject(dc, object);
        }
    }
    SelectedObject(SelectedObject&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr))
    {
    }
    SelectedObject& operator=(SelectedObject&& other) noexcept
    {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { restore(); }

    // The object that was selected before.
    HGDIOBJ previous() const { return previous_; }

private:
    void restore()
    {
        if (dc_ != nullptr && previous_ != nullptr)
            SelectObject(dc_, previous_);
        dc_ = nullptr;
        previous_ = nullptr;
    }

    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// A logical palette selected into a context (in the foreground) and
// realised; the one it replaced is selected back at the end.
class SelectedPalette {
public:
    SelectedPalette() = default;
    SelectedPalette(HDC dc, HPALETTE palette)
    {
        if (dc != nullptr && palette != nullptr) {
            dc_ = dc;
            previous_ = SelectPalette(dc, palette, FALSE);
            RealizePalette(dc);
        }
    }
    SelectedPalette(SelectedPalette&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr))
    {
    }
    SelectedPalette& operator=(SelectedPalette&& other) noexcept
    {
        if (this != &other) {
            restore();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;
    ~SelectedPalette() { restore(); }

private:
    void restore()
    {
        if (dc_ != nullptr && previous_ != nullptr)
            SelectPalette(dc_, previous_, FALSE);
        dc_ = nullptr;
        previous_ = nullptr;
    }

    HDC dc_ = nullptr;
    HPALETTE previous_ = nullptr;
};

// A pen, brush, font, bitmap, region or palette this code made, deleted at
// the end. Stock objects are never put in one.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives the object up to a caller that deletes it.
    Handle release() { return std::exchange(handle_, nullptr); }

private:
    void reset()
    {
        if (handle_ != nullptr)
            DeleteObject(handle_);
        handle_ = nullptr;
    }

    Handle handle_ = nullptr;
};

using GdiBitmap = GdiObject<HBITMAP>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;
using GdiRegion = GdiObject<HRGN>;

} // namespace korv
