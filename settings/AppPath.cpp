#include "settings/AppPath.h"

std::string FolderWithBackslash(std::string_view filePath) {
    const size_t lastSeparator = filePath.rfind('\\');
    std::string folder(filePath.substr(0, lastSeparator == std::string_view::npos ? 0 : lastSeparator));
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}
