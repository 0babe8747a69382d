#pragma once
// Whether users who are not administrators can change the program's folder or the
// files it loads and runs from there. Autostart starts the program with administrator
// rights (the scheduled task at the highest level, or the Startup shortcut of the
// admin who set it up), so such a folder hands those rights to whoever drops a
// WinIo.dll or a devcon.exe into it. Decided here from each object's DACL as the SDDL
// text Windows writes, without OS calls, so that every descriptor is tested natively.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace FolderSafety {

// Unknown: the descriptor could not be read or parsed, which is not taken as unsafe.
enum class Verdict { Safe, Unsafe, Unknown };
enum class ObjectKind { Folder, File };

// One object's DACL in SDDL ("D:PAI(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"; an O:, G:
// or S: part is skipped). Unsafe when it lets Everyone, Users, Authenticated Users,
// INTERACTIVE, Guests or ANONYMOUS LOGON write or append data, delete, change the
// permissions or take ownership, and on a folder also delete the files in it. Entries
// are read in order for each group, a deny taking its rights from the allows after it.
// On a folder an entry counts for the folder unless inherit-only, and for the files
// in it when they inherit it (OI); one that passes only to subfolders does not count.
// No DACL at all gives everyone full access: Unsafe; an empty one gives none: Safe.
Verdict Check(std::string_view sddl, ObjectKind kind);

// The folder and its files together: Unsafe when either is, else Unknown when either
// is, else Safe.
Verdict Combined(Verdict a, Verdict b);

// The files the program loads or runs from its folder: its own executable (`exeName`,
// as the running file is called), the WinIo and PawnIO files, devcon and hdparm.
std::vector<std::string> LoadedFiles(const std::string& exeName);

// Texts for the UI; `folder` ends in one backslash and is shown as given.
// The message box when autostart is asked for from an unsafe folder (CR LF lines).
std::string AutostartRefusedText(const std::string& folder);
// The start-up balloon when autostart is on and the folder is unsafe; at most
// BalloonLimit characters, a long folder shortened in its middle with "...".
inline constexpr size_t BalloonLimit = 255;  // the balloon's text buffer, less its NUL
std::string UnsafeFolderBalloonText(const std::string& folder);

}  // namespace FolderSafety
