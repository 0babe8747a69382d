#pragma once
// Where a command named on a command line is looked for. No OS calls, so the order
// and the refusal of the current directory are tested natively.
#include <string>
#include <string_view>
#include <vector>

namespace CommandSearch {

// The program a command line names: the text between the quotes when the line starts
// with one, else the first word (up to a blank or a tab).
std::string ProgramName(std::string_view commandLine);

// True for "C:\..." (or "C:/...") and "\\server\...": a path that does not depend on
// the current directory or drive.
bool IsAbsolutePath(std::string_view path);

// The folders searched, in order, each with one trailing backslash: the program's own,
// the system folder and the Windows folder, those that only administrators change.
// Never PATH, whose folders others may write to, nor the current directory; a folder
// the system could not tell ("", or a relative one) is left out.
std::vector<std::string> SearchFolders(std::string_view ownFolder, std::string_view systemFolder,
                                       std::string_view windowsFolder);

// The files to try for a program, in order: a bare name in each folder, an absolute
// path as it stands; ".exe" added when the name has no extension, as CreateProcess
// does. A relative path ("bin\devcon", ".\devcon") gives none.
std::vector<std::string> CandidatePaths(std::string_view programName,
                                        const std::vector<std::string>& folders);

}  // namespace CommandSearch
