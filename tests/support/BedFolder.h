#pragma once
// A file in one of the test bed's folders (scripts/wine-setup names them in environment
// variables), as Wine sees it through drive Z:.
#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <string>

inline std::string BedFile(const char* variable, const std::string& relative) {
    const char* folder = std::getenv(variable);
    if (!folder)
        throw std::runtime_error(std::string(variable) + " is not set: run under scripts/wine-run");
    std::string path = std::string("Z:") + folder + "/" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}
