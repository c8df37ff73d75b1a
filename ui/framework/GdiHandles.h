// Owning wrappers for GDI objects and device contexts, over the owning wrapper of base/ScopedHandle.h.
#pragma once

#include "base/ScopedHandle.h"

#include <windows.h>

template <class T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

struct MemoryDCTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueMemoryDC = UniqueResource<MemoryDCTraits>;

// A window's (or the screen's, for a null window) device context, released when the scope ends.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a context for the scope and selects the previous one back at its end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
