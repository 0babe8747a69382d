#pragma once
// The environment of the program and of the commands it starts, made from the system's
// own values: the program's own may come from the user (the autostart task starts it
// with the user's environment, which HKCU\Environment sets without elevation), and a
// ComSpec, windir, SystemRoot or __COMPAT_LAYER of the user's is a known way past UAC.
// No OS calls, so both are tested natively.
#include <string>
#include <utility>
#include <vector>

namespace SystemEnvironment {

// What the system says, read from the system rather than from any environment.
struct Facts {
    std::string windows;              // GetSystemWindowsDirectory: "C:\WINDOWS"
    std::string system;               // GetSystemDirectory: "C:\WINDOWS\system32"
    std::string nativeArchitecture;   // under WOW64 ("AMD64", "ARM64"), else ""
    unsigned processors = 1;
    std::string programFiles, commonFiles;  // from the registry; "" when unknown
};

using Variables = std::vector<std::pair<std::string, std::string>>;

// The block a command is started with (NUL-terminated "NAME=value" texts sorted by name,
// an empty one at the end): SystemRoot, windir and SystemDrive, ComSpec (cmd.exe in the
// system folder), PROCESSOR_ARCHITECTURE (x86: the commands run as 32-bit programs)
// and, under WOW64, PROCESSOR_ARCHITEW6432, NUMBER_OF_PROCESSORS, OS and a PATH of the
// system and Windows folders, so that a command loads the libraries it names from
// there only. No TEMP or TMP: a command's temporary folder is then the Windows one.
std::string CommandBlock(const Facts& facts);

// The program's own variables that COM and the loader read (COM expands %SystemRoot% in
// the paths of in-process servers): set to the system's values, in this order; a value
// "" removes the variable (__COMPAT_LAYER always, Program Files when unknown).
Variables OwnVariables(const Facts& facts);

}  // namespace SystemEnvironment
