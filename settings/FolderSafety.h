#pragma once
// Whether anyone but an administrator can change the folder that the autostart runs
// the program from, or the files it loads and runs from there. The program always runs
// with administrator rights, and from Windows Vista on the log-on task starts it so
// without asking: such a folder hands those rights to whoever can change it. Decided
// here, without OS calls, from each object's security descriptor as Windows returns it
// (binary, self-relative), so that every descriptor is tested natively.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace FolderSafety {

using Bytes = std::vector<uint8_t>;

// Who may change things: SYSTEM, Administrators and TrustedInstaller always; Power
// Users on Windows 5.x (they may change Program Files there, and can make themselves
// administrators anyway); the running account only where it has no unelevated token
// (Windows 5.x, UAC off, the built-in Administrator). Where UAC splits its token, every
// program the account runs without elevation may write what its own SID may write.
struct Trust {
    Bytes account;  // the running account's SID, binary
    bool accountTrusted = false;
    bool windows5 = false;
};

// Windows 5.x, or a token whose elevation type (TokenElevationType) is the default one.
bool AccountIsTrusted(bool windows6OrLater, std::optional<uint32_t> elevationType);

// One file or folder on the way: its descriptor with owner and DACL, nothing when it
// could not be read; whether it is a junction, symbolic link or mount point.
struct PathObject {
    std::string path;
    std::optional<Bytes> descriptor;
    bool link = false;
};

inline constexpr uint32_t DriveFixed = 3;  // GetDriveType's DRIVE_FIXED

// What the program knows of a folder: the folder, the files it loads from there that
// exist, the folders above it (nearest first, the volume's root last), its volume.
struct FolderFacts {
    std::string folder;  // one trailing backslash
    PathObject self;
    std::vector<PathObject> files;
    std::vector<PathObject> above;
    std::string volume;                 // the volume's root, as Windows names it
    std::optional<uint32_t> driveType;  // nothing: it could not be told
    bool inUserProfile = false;         // under the profiles folder (Windows 6.0 and later)
};

enum class Cause {
    None,
    Changeable,     // the folder, or a file vantu loads from it, can be changed
    FolderAbove,    // a folder above it can be renamed, deleted or re-permissioned
    NotPlainPath,   // a junction, symbolic link or mount point on the path, or a %
    NotFixedDrive,  // a removable drive, a network share, ...
    UserProfile,    // inside a user's profile
};

struct Finding {
    Cause cause = Cause::None;
    std::string path;          // the nearest unsafe path
    bool accountOnly = false;  // only the running account's own (unelevated) rights
    bool unsafe() const { return cause != Cause::None; }
};

// Turning the autostart on fails closed: what cannot be read counts as changeable. The
// warning at start-up speaks only of what is known.
enum class Reading { FailClosed, KnownOnly };

// The first cause found, nearest the program first: the path's form and its drive, the
// folder, its files, the folders above, the profile.
Finding Judge(const FolderFacts& facts, const Trust& trust, Reading reading);

// The files the program loads or runs from its folder: its own executable (`exeName`,
// as the running file is called), the WinIo and PawnIO files, devcon, hdparm and a
// powercfg lying there.
std::vector<std::string> LoadedFiles(const std::string& exeName);

// The folders above `folder` (one trailing backslash) up to its volume's root
// `volume`, nearest first, each without a trailing backslash but the root; none when
// the folder is not on that volume.
std::vector<std::string> FoldersAbove(std::string_view folder, std::string_view volume);

// Whether `path` is `folder` or lies inside it, letters compared without case.
bool IsInside(std::string_view path, std::string_view folder);

// Texts for the UI, naming the cause and its path.
// The message box when the autostart is asked for from an unsafe folder (CR LF lines).
std::string AutostartRefusedText(const Finding& finding);
// The start-up balloon when the autostart is on from an unsafe folder; at most
// BalloonLimit characters, a long path shortened in its middle with "...".
inline constexpr size_t BalloonLimit = 255;  // the balloon's text buffer, less its NUL
std::string UnsafeFolderBalloonText(const Finding& finding);

}  // namespace FolderSafety
