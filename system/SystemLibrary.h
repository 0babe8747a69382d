#pragma once
// A DLL of Windows loaded for a while, from the system folder by its full path: the
// program runs with administrator rights, and a DLL of that name lying in the
// current or the program's folder must not be loaded instead.
#include <windows.h>

#include <string>

#include "system/KnownFolders.h"
#include "system/Owned.h"

struct LibraryTraits {
    using Raw = HMODULE;
    static bool Valid(HMODULE module) { return module != nullptr; }
    static void Release(HMODULE module) { FreeLibrary(module); }
};
using Library = Owned<LibraryTraits>;

inline Library LoadSystemLibrary(const char* name) {
    const std::string folder = KnownFolders::SystemFolder();
    return folder.empty() ? Library() : Library(LoadLibraryA((folder + "\\" + name).c_str()));
}

// A function of the library, or null.
template <typename Fn>
Fn LibraryFunction(const Library& library, const char* name) {
    return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.get(), name))) : nullptr;
}

// Where libraries loaded by name may come from, set once at start-up before any is
// loaded at run time: only the system folder where Windows can say so (Windows 8 and
// later, 7 and Vista with the update that adds it), never the current folder anywhere.
// The program folder is not on the list: what lies beside the program is loaded only
// when asked for by its full path.
void RestrictLibrarySearch();

// Loads a library by its full path, taking the libraries it names from its own folder
// and then the system folder.
HMODULE LoadLibraryWithItsFolder(const std::string& path);
