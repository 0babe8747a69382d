#include "system/CommandSearch.h"

#include <algorithm>

namespace CommandSearch {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string WithBackslash(std::string_view folder) {
    std::string text(folder);
    if (!text.empty() && !IsSeparator(text.back()))
        text += '\\';
    return text;
}

// The extension is looked for in the last path element only ("C:\v1.2\devcon").
bool HasExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const auto separator = name.find_last_of("\\/");
    return separator == std::string_view::npos || dot > separator;
}

}  // namespace

std::string ProgramName(std::string_view commandLine) {
    if (!commandLine.empty() && commandLine.front() == '"') {
        const auto close = commandLine.find('"', 1);
        return std::string(commandLine.substr(1, close == std::string_view::npos ? close : close - 1));
    }
    return std::string(commandLine.substr(0, commandLine.find_first_of(" \t")));
}

bool IsAbsolutePath(std::string_view path) {
    if (path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::vector<std::string> SearchFolders(std::string_view ownFolder, std::string_view systemFolder,
                                       std::string_view windowsFolder) {
    std::vector<std::string> folders;
    for (std::string_view folder : {ownFolder, systemFolder, windowsFolder})
        if (IsAbsolutePath(folder))
            folders.push_back(WithBackslash(folder));
    return folders;
}

std::vector<std::string> CandidatePaths(std::string_view programName,
                                        const std::vector<std::string>& folders) {
    if (programName.empty())
        return {};
    std::string file(programName);
    if (!HasExtension(file))
        file += ".exe";
    if (IsAbsolutePath(file))
        return {file};
    if (file.find_first_of("\\/:") != std::string::npos)
        return {};
    std::vector<std::string> paths;
    for (const auto& folder : folders)
        paths.push_back(folder + file);
    return paths;
}

}  // namespace CommandSearch
