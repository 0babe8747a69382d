#pragma once
// The lines that fakecmd copies (powercfg.exe, devcon.exe and hdparm.exe beside the
// test program) append to commands.log in the test program's folder.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "settings/modSettings.h"
#include "system/KnownFolders.h"

namespace CommandLog {

using Text = std::vector<std::string>;

inline std::string Path() { return KnownFolders::AppFolder() + "commands.log"; }
inline void Clear() { DeleteFileA(Path().c_str()); }

inline Text Lines() {
    Text lines;
    std::ifstream log(Path(), std::ios::binary);
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    return lines;
}

// For commands started without waiting: the lines once there are at least `count`.
// Not a timing check: the bound (60 s, room for an emulated guest) only keeps a lost
// child from hanging the test.
inline Text WaitForLines(size_t count) {
    for (int i = 0; i < 600 && Lines().size() < count; ++i)
        Sleep(100);
    return Lines();
}

}  // namespace CommandLog
