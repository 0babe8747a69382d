#include "settings/modFolderSafety.h"

#include <windows.h>
// Both functions are in advapi32 from Windows 2000 on.
#include <aclapi.h>
#include <sddl.h>

#include "settings/FolderSafety.h"
#include "settings/modSettings.h"
#include "system/Owned.h"

namespace modFolderSafety {

namespace {

// A buffer that a security function allocated for the caller.
struct LocalMemoryTraits {
    using Raw = HLOCAL;
    static bool Valid(HLOCAL memory) { return memory != nullptr; }
    static void Release(HLOCAL memory) { LocalFree(memory); }
};
using LocalMemory = Owned<LocalMemoryTraits>;

FolderSafety::Verdict ReadVerdict(const std::string& path, FolderSafety::ObjectKind kind) {
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    const DWORD result = GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                               nullptr, nullptr, &dacl, nullptr, &raw);
    const LocalMemory descriptor(raw);  // owned before the result is looked at
    if (result != ERROR_SUCCESS)
        return FolderSafety::Verdict::Unknown;
    LPSTR text = nullptr;
    const BOOL converted = ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr);
    const LocalMemory sddl(text);
    if (!converted || text == nullptr)
        return FolderSafety::Verdict::Unknown;
    return FolderSafety::Check(text, kind);
}

}  // namespace

bool FolderIsUnsafe(const std::string& folder, const std::string& exeName) {
    // The folder named without its trailing backslash, as for any other file object;
    // a drive's root keeps it ("C:" alone is the current folder on that drive).
    std::string folderPath = folder;
    if (folderPath.size() > 1 && folderPath.back() == '\\' && folderPath[folderPath.size() - 2] != ':')
        folderPath.pop_back();
    FolderSafety::Verdict verdict = ReadVerdict(folderPath, FolderSafety::ObjectKind::Folder);
    for (const std::string& name : FolderSafety::LoadedFiles(exeName)) {
        const std::string path = folder + name;
        const DWORD attributes = GetFileAttributesA(path.c_str());
        // A folder of that name is never loaded or run.
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            continue;
        verdict = FolderSafety::Combined(verdict, ReadVerdict(path, FolderSafety::ObjectKind::File));
    }
    return verdict == FolderSafety::Verdict::Unsafe;
}

bool ProgramFolderIsUnsafe() {
    const std::string folder = modSettings::AppFolder(), path = modSettings::ExecutablePath();
    return FolderIsUnsafe(folder, path.substr(folder.size()));
}

}  // namespace modFolderSafety
