#include "system/CommandStart.h"

#include <vector>

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

std::string PathVariable() {
    std::vector<char> value(1024);
    DWORD length = 0;
    while ((length = GetEnvironmentVariableA("PATH", value.data(), static_cast<DWORD>(value.size()))) >
           value.size())
        value.resize(length);
    return std::string(value.data(), length);
}

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string ResolveCommand(const std::string& commandLine) {
    const auto folders = CommandSearch::SearchFolders(
        modSettings::AppFolder(), FolderFrom(GetSystemDirectoryA), FolderFrom(GetWindowsDirectoryA),
        PathVariable());
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
    // CreateProcessA may write into the command line it is given.
    std::string line = commandLine;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, inheritHandles, creationFlags,
                        nullptr, nullptr, &startup, &info))
        return std::nullopt;
    return StartedProcess{Handle(info.hProcess), Handle(info.hThread)};
}
