// Small owners for what Win32 and COM hand out and want back: a COM
// pointer, a window DC, an object selected into a DC and a GDI object (the
// lock guard is ScopedLock in base/sync.h). Each releases in its
// destructor, so an early return cannot leak; none can be copied.
#pragma once
#include <windows.h>
#include <utility>

// Owns one reference to a COM object.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller owns (a function's result).
    explicit ComPtr(T *owned) : p(owned) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;
    ComPtr(ComPtr &&other) noexcept : p(std::exchange(other.p, nullptr)) {}

    T *Get() const { return p; }
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T **Put()
    {
        Reset();
        return &p;
    }
    void **PutVoid() { return reinterpret_cast<void **>(Put()); }
    // Gives the reference away (to a record field that owns it from now on).
    T *Detach() { return std::exchange(p, nullptr); }
    void Reset()
    {
        if (p)
            std::exchange(p, nullptr)->Release();
    }

private:
    T *p = nullptr;
};

// GetDC / ReleaseDC.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window(window), dc(GetDC(window)) {}
    ~ScopedWindowDC()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    ScopedWindowDC(const ScopedWindowDC &) = delete;
    ScopedWindowDC &operator=(const ScopedWindowDC &) = delete;
    HDC Get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }

private:
    HWND window;
    HDC dc;
};

// SelectObject, and the previous object selected back at the end. A null
// object selects nothing.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc(dc), previous(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect()
    {
        if (previous)
            SelectObject(dc, previous);
    }
    ScopedSelect(const ScopedSelect &) = delete;
    ScopedSelect &operator=(const ScopedSelect &) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// A GDI object (pen, brush, font, bitmap) deleted at the end.
template <typename H> class ScopedGdiObject {
public:
    explicit ScopedGdiObject(H object = nullptr) : object(object) {}
    ~ScopedGdiObject()
    {
        if (object)
            DeleteObject(object);
    }
    ScopedGdiObject(const ScopedGdiObject &) = delete;
    ScopedGdiObject &operator=(const ScopedGdiObject &) = delete;
    H Get() const { return object; }
    H Detach() { return std::exchange(object, nullptr); }
    explicit operator bool() const { return object != nullptr; }

private:
    H object;
};
