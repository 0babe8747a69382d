#pragma once
// Owners of the icons, bitmaps, fonts and memory DCs that the tray drawing makes.
// A tray tool redraws every few seconds for weeks: each object is released by its
// owner on every path. The owners count what is alive, so a soak run can show that
// nothing accumulates (GetGuiResources says nothing under Wine).
#include <windows.h>

#include "system/Owned.h"

namespace Gdi {

inline int LiveGdiObjects = 0;   // bitmaps, fonts, memory DCs
inline int LiveUserObjects = 0;  // icons

struct IconTraits {
    using Raw = HICON;
    static bool Valid(HICON icon) { return icon != nullptr; }
    static void Release(HICON icon) { DestroyIcon(icon); }
    static int& Live() { return LiveUserObjects; }
};

struct GdiObjectTraits {
    using Raw = HGDIOBJ;
    static bool Valid(HGDIOBJ object) { return object != nullptr; }
    static void Release(HGDIOBJ object) { DeleteObject(object); }
    static int& Live() { return LiveGdiObjects; }
};

// Only DCs of CreateCompatibleDC: a window's DC would need ReleaseDC with its window.
struct MemoryDcTraits {
    using Raw = HDC;
    static bool Valid(HDC dc) { return dc != nullptr; }
    static void Release(HDC dc) { DeleteDC(dc); }
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
