#pragma once
// Whether anyone but an administrator can change the folder that the autostart runs
// the program from, or anything in it: the program, the libraries it and the loader
// take from there, the commands, the settings file. The program always runs
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
// (or, for a folder in the program's folder, its listing) could not be read; whether
// it is a junction, symbolic link or mount point; whether it is a folder.
struct PathObject {
    std::string path;
    std::optional<Bytes> descriptor;
    bool link = false;
    bool folder = false;
};

inline constexpr uint32_t DriveFixed = 3;           // GetDriveType's DRIVE_FIXED
inline constexpr uint32_t PersistentAcls = 0x8;     // GetVolumeInformation's FILE_PERSISTENT_ACLS

// What the program knows of a folder: the folder, every entry in it (hidden and system
// ones too) and in its subfolders one level down, the folders above it (nearest
// first, the volume's root last), its volume.
struct FolderFacts {
    std::string folder;  // one trailing backslash
    PathObject self;
    std::vector<PathObject> entries;
    std::vector<PathObject> above;
    std::string volume;                    // the volume's root, as Windows names it
    std::optional<uint32_t> driveType;     // nothing: it could not be told
    std::optional<uint32_t> volumeFlags;   // nothing: they could not be read
    bool usb = false;                      // the volume's disk is on a USB bus
    bool inUserProfile = false;            // under the profiles folder (Windows 6.0 and later)
};

enum class Cause {
    None,
    Changeable,     // the folder, or something in it, can be changed
    FolderAbove,    // a folder above it can be renamed, deleted or re-permissioned
    NotPlainPath,   // a junction, symbolic link or mount point on the path, or a %
    NotFixedDrive,  // a removable drive, a USB disk, a network share, ...
    NoPermissions,  // a volume that keeps no permissions (FAT, exFAT)
    UserProfile,    // inside a user's profile
};

struct Finding {
    Cause cause = Cause::None;
    std::string path;          // the nearest unsafe path
    bool accountOnly = false;  // only the running account's own (unelevated) rights
    bool unchecked = false;    // its descriptor could not be read
    bool unsafe() const { return cause != Cause::None; }
};

// The first cause found, nearest the program first: the path's form, its drive and
// volume, the folder, its entries, the folders above, the profile. What cannot be read
// counts as changeable.
Finding Judge(const FolderFacts& facts, const Trust& trust);

// The folders above `folder` (one trailing backslash) up to its volume's root
// `volume`, nearest first, each without a trailing backslash but the root; none when
// the folder is not on that volume.
std::vector<std::string> FoldersAbove(std::string_view folder, std::string_view volume);

// Whether `path` is `folder` or lies inside it, letters compared without case.
bool IsInside(std::string_view path, std::string_view folder);

// Message box texts (CR LF lines), naming the cause and its path and the way out.
// When the autostart is asked for from an unsafe folder:
std::string AutostartRefusedText(const Finding& finding);
// When the autostart set up earlier names an unsafe folder, at start-up: removed, or
// (`removed` false) it could not be.
std::string AutostartRemovedText(const Finding& finding, bool removed);

}  // namespace FolderSafety
