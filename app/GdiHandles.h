#pragma once
// Owners of the icons, bitmaps, fonts and memory DCs that the tray drawing makes.
// A tray tool redraws every few seconds for weeks: each object is released by its
// owner on every path. The owners count what is alive, so a soak run can show that
// nothing accumulates (GetGuiResources says nothing under Wine).
#include <windows.h>

#include <utility>

namespace Gdi {

inline int LiveGdiObjects = 0;   // bitmaps, fonts, memory DCs
inline int LiveUserObjects = 0;  // icons

template <typename Traits>
class Owned {
public:
    using Raw = typename Traits::Raw;

    Owned() = default;
    explicit Owned(Raw raw) : raw_(raw) {
        if (raw_)
            ++Traits::Live();
    }
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            raw_ = std::exchange(other.raw_, nullptr);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Raw get() const { return raw_; }
    explicit operator bool() const { return raw_ != nullptr; }
    void reset() {
        if (raw_) {
            Traits::Destroy(raw_);
            --Traits::Live();
            raw_ = nullptr;
        }
    }

private:
    Raw raw_ = nullptr;
};

struct IconTraits {
    using Raw = HICON;
    static void Destroy(HICON icon) { DestroyIcon(icon); }
    static int& Live() { return LiveUserObjects; }
};

struct GdiObjectTraits {
    using Raw = HGDIOBJ;
    static void Destroy(HGDIOBJ object) { DeleteObject(object); }
    static int& Live() { return LiveGdiObjects; }
};

// Only DCs of CreateCompatibleDC: a window's DC would need ReleaseDC with its window.
struct MemoryDcTraits {
    using Raw = HDC;
    static void Destroy(HDC dc) { DeleteDC(dc); }
    static int& Live() { return LiveGdiObjects; }
};

using Icon = Owned<IconTraits>;
using Object = Owned<GdiObjectTraits>;
using MemoryDc = Owned<MemoryDcTraits>;

// Selects an object into a DC for one scope, so that the object is no longer
// selected when its owner deletes it.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace Gdi
