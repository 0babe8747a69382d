#include "system/CommandStart.h"

#include <cstring>

#include "settings/modSettings.h"
#include "system/CommandSearch.h"

namespace {

// The folder a call like GetSystemDirectoryA fills, or "" when it fails.
template <typename Call>
std::string FolderFrom(Call call) {
    char folder[MAX_PATH];
    const UINT length = call(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(folder, length) : std::string();
}

// The process's environment as one block, its PATH replaced by the system's own two
// folders: a command loads the libraries it names from there, not from a folder on
// the PATH that others may write to.
std::string CommandEnvironment(const std::string& system, const std::string& windows) {
    char* const strings = GetEnvironmentStringsA();
    std::string block;
    if (strings) {
        const char* end = strings;
        while (*end)
            end += std::strlen(end) + 1;
        block.assign(strings, size_t(end - strings) + 1);
        FreeEnvironmentStringsA(strings);
    }
    return CommandSearch::EnvironmentWithPath(block, system + ";" + windows);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string ResolveCommand(const std::string& commandLine) {
    const auto folders = CommandSearch::SearchFolders(modSettings::AppFolder(), FolderFrom(GetSystemDirectoryA),
                                                      FolderFrom(GetWindowsDirectoryA));
    for (const auto& path : CommandSearch::CandidatePaths(CommandSearch::ProgramName(commandLine), folders))
        if (IsFile(path))
            return path;
    return "";
}

std::optional<StartedProcess> StartCommand(const std::string& commandLine, STARTUPINFOA& startup,
                                           bool inheritHandles, DWORD creationFlags) {
    const std::string program = ResolveCommand(commandLine);
    if (program.empty())
        return std::nullopt;
    // CreateProcessA may write into the command line it is given. The system folder as
    // the current one: nothing is looked for in a folder of the caller's.
    std::string line = commandLine;
    const std::string system = FolderFrom(GetSystemDirectoryA);
    std::string environment = CommandEnvironment(system, FolderFrom(GetWindowsDirectoryA));
    PROCESS_INFORMATION info{};
    if (system.empty() || !CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, inheritHandles, creationFlags,
                                          environment.data(), system.c_str(), &startup, &info))
        return std::nullopt;
    return StartedProcess{Handle(info.hProcess), Handle(info.hThread)};
}
