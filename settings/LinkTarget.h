#pragma once
// The target of a shell link file (.lnk) as its LinkInfo block stores it, read from the
// file's bytes without the shell: start-up must know where the autostart shortcut
// points before any library or COM object is loaded.
#include <string>
#include <string_view>

// LocalBasePath followed by CommonPathSuffix, in the ANSI code page; "" when the link
// has no local path or its bytes do not hold together.
std::string LinkTarget(std::string_view bytes);
