#include "system/modInstanceLock.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "system/Handle.h"
#include "system/KnownFolders.h"

namespace modInstanceLock {

namespace {

constexpr char kInstanceName[] = "Global\\vantu.instance";
// Owned by the Administrators, and only SYSTEM and they may open it.
constexpr char kInstanceSecurity[] = "O:BAD:(A;;GA;;;SY)(A;;GA;;;BA)";
// The lock file stays between runs, readable by SYSTEM and the Administrators alone: a
// file deleted on close could be kept pending deletion, and so unopenable, by anyone's
// handle that asks for no access; and a handle that reads would block the unshared open.
constexpr char kLockFileSecurity[] = "D:P(A;;FA;;;SY)(A;;FA;;;BA)";

// A security descriptor from its text, freed with the object.
struct Descriptor {
    explicit Descriptor(const char* text) {
        ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1, &descriptor, nullptr);
        attributes.lpSecurityDescriptor = descriptor;
    }
    ~Descriptor() { LocalFree(descriptor); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    SECURITY_ATTRIBUTES* Attributes() { return descriptor ? &attributes : nullptr; }

    PSECURITY_DESCRIPTOR descriptor = nullptr;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
};

Handle Instance, LockFile;  // held for the whole run

bool OwnedByTheTrusted(HANDLE object) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    const bool trusted = IsWellKnownSid(owner, WinLocalSystemSid) || IsWellKnownSid(owner, WinBuiltinAdministratorsSid);
    LocalFree(descriptor);
    return trusted;
}

}  // namespace

bool TakeInstanceLock() {
    Descriptor instance(kInstanceSecurity);
    Instance = Handle(CreateMutexA(instance.Attributes(), FALSE, kInstanceName));
    const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
    if (Instance && existed && OwnedByTheTrusted(Instance.get()))
        return false;
    // The name is this copy's, someone else's, or not to be opened: the file decides,
    // for every copy alike, so that a squatter who lets go of the name later cannot
    // let a second copy take it while this one runs on the file.
    const std::string windows = KnownFolders::WindowsFolder();
    const std::string path = windows.empty() ? "" : windows + "\\vantu.lock";
    Descriptor lockFile(kLockFileSecurity);
    LockFile = Handle(
        CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, lockFile.Attributes(), OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (LockFile)
        return true;
    if (GetLastError() == ERROR_SHARING_VIOLATION)
        return false;
    return Instance && !existed;  // no file to be had: the name, the program's own, holds alone
}

}  // namespace modInstanceLock
