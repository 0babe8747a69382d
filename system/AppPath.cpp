#include "system/AppPath.h"

std::string AddBackslash(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '\\')
        result += '\\';
    return result;
}

std::string FolderWithBackslash(std::string_view filePath) {
    const size_t lastSeparator = filePath.rfind('\\');
    return AddBackslash(
        filePath.substr(0, lastSeparator == std::string_view::npos ? 0 : lastSeparator));
}

std::string ExecutableName(std::string_view filePath) {
    const size_t lastSeparator = filePath.rfind('\\');
    const std::string_view fileName =
        lastSeparator == std::string_view::npos ? filePath : filePath.substr(lastSeparator + 1);
    return std::string(fileName.substr(0, fileName.rfind('.')));
}

std::string StartupLinkPath(std::string_view folder, std::string_view name) {
    std::string path = AddBackslash(folder) + std::string(name);
    if (!path.ends_with(".lnk"))
        path += ".lnk";
    return path;
}
