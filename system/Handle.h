#pragma once
// The owner of one kernel handle (process, thread, pipe end, event, job).
#include <windows.h>

#include "system/Owned.h"

struct KernelHandleTraits {
    using Raw = HANDLE;
    // Null and INVALID_HANDLE_VALUE are the two ways the API says "none".
    static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Release(HANDLE handle) { CloseHandle(handle); }
};

using Handle = Owned<KernelHandleTraits>;
