#include "system/SystemLibrary.h"

namespace {

// LOAD_LIBRARY_SEARCH_* values: not in the headers of a build for Windows XP.
constexpr DWORD SearchDllLoadDir = 0x100, SearchSystem32 = 0x800;
bool searchFlagsKnown = false;  // SetDefaultDllDirectories exists and took them

template <typename Fn>
Fn Kernel32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name)));
}

}  // namespace

void RestrictLibrarySearch() {
    using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
    using SetDllDirectory = BOOL(WINAPI*)(LPCSTR);
    if (const auto setDefault = Kernel32Function<SetDefaultDllDirectories>("SetDefaultDllDirectories"))
        searchFlagsKnown = setDefault(SearchSystem32) != FALSE;
    // XP SP1 and later: "" takes the current folder out of the search.
    if (const auto setDirectory = Kernel32Function<SetDllDirectory>("SetDllDirectoryA"))
        setDirectory("");
}

HMODULE LoadLibraryWithItsFolder(const std::string& path) {
    if (searchFlagsKnown)
        return LoadLibraryExA(path.c_str(), nullptr, SearchDllLoadDir | SearchSystem32);
    // Older: a full path makes the search start in the library's own folder.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
