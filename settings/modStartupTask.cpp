#include "settings/modStartupTask.h"

// The service's GUIDs are in no import library: defined in this file.
#include <initguid.h>
#include <taskschd.h>

#include <cstring>
#include <vector>

#include "settings/StartupTask.h"
#include "system/AppPath.h"
#include "system/ComObjects.h"
#include "system/Files.h"
#include "system/Handle.h"
#include "system/KnownFolders.h"
#include "system/SystemLibrary.h"

namespace modStartupTask {

namespace {

// The Task Scheduler's own library, loaded by the program rather than by COM: COM keeps
// the libraries it loads (and under Wine this one says it cannot be unloaded), and with
// them some megabytes, while the program needs them only for a moment. Declared before
// the apartment, so that it is freed after all of the service's objects.
Library TaskSchedulerLibrary() { return LoadSystemLibrary("taskschd.dll"); }

// The root folder of the task store, through a connection to the local service, from
// the class factory of the library that `library` holds.
HRESULT RootFolder(const Library& library, ComPtr<ITaskFolder>& root) {
    using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    const auto getClassObject = LibraryFunction<GetClassObject>(library, "DllGetClassObject");
    if (!getClassObject)
        return REGDB_E_CLASSNOTREG;
    ComPtr<IClassFactory> factory;
    HRESULT result = getClassObject(CLSID_TaskScheduler, IID_IClassFactory, factory.put());
    if (FAILED(result))
        return result;
    ComPtr<ITaskService> service;
    if (FAILED(result = factory->CreateInstance(nullptr, IID_ITaskService, service.put())))
        return result;
    const VARIANT none{};  // empty: the local machine, as the current user
    if (FAILED(result = service->Connect(none, none, none, none)))
        return result;
    const Bstr rootPath("\\");
    return service->GetFolder(rootPath.get(), root.out());
}

// DOMAIN\name of the user this process runs for: the log-on that starts the task.
std::string CurrentUserId() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return "";
    const Handle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size))
        return "";
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    char name[256] = "", domain[256] = "";
    DWORD nameSize = sizeof name, domainSize = sizeof domain;
    SID_NAME_USE use;
    if (!LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        return "";
    return std::string(domain) + "\\" + name;
}

// The file in which the service keeps the task. A 32-bit program on 64-bit Windows sees
// another System32: Sysnative is the real one.
std::string TaskFile(const std::string& name) {
    const std::string windows = KnownFolders::WindowsFolder();
    if (windows.empty())
        return "";
    using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
    BOOL wow64 = FALSE;
    if (const auto isWow64 = reinterpret_cast<IsWow64>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process"))))
        isWow64(GetCurrentProcess(), &wow64);
    return windows + (wow64 ? "\\Sysnative" : "\\System32") + "\\Tasks\\" + name;
}

// The text in the ANSI code page, from UTF-16 with its byte order mark or UTF-8.
std::string AnsiText(const std::string& bytes) {
    std::wstring wide;
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0) {
        wide.resize((bytes.size() - 2) / 2);
        std::memcpy(wide.data(), bytes.data() + 2, wide.size() * 2);
    } else {
        const size_t bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
        wide.resize(bytes.size() - bom);
        wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, bytes.data() + bom, int(bytes.size() - bom), wide.data(),
                                               int(wide.size()))));
    }
    std::string text(wide.size() * 2, '\0');
    text.resize(size_t(WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), text.data(), int(text.size()),
                                           nullptr, nullptr)));
    return text;
}

}  // namespace

bool StartupTaskExists(const std::string& name) {
    const std::string file = TaskFile(name);
    const DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string StartupTaskCommand(const std::string& name) {
    if (!StartupTaskExists(name))
        return "";
    // A task's definition is a few kilobytes: a larger file is not one of ours.
    const auto bytes = ReadWholeFile(TaskFile(name), 1 << 20);
    return bytes ? StartupTask::Command(AnsiText(*bytes)) : "";
}

HRESULT RegisterStartupTask(const std::string& name, const std::string& folder) {
    const Library library = TaskSchedulerLibrary();
    const ComApartment apartment;
    if (!apartment.usable())
        return apartment.result();
    const std::string user = CurrentUserId();
    if (user.empty())
        return E_FAIL;
    ComPtr<ITaskFolder> root;
    HRESULT result = RootFolder(library, root);
    if (FAILED(result))
        return result;
    const Bstr path(name);
    const Bstr definition(
        StartupTask::Definition(name, AddBackslash(folder) + name + ".exe", folder, user));
    const VARIANT none{};  // empty: the user and rights are the definition's
    ComPtr<IRegisteredTask> task;
    return root->RegisterTask(path.get(), definition.get(), TASK_CREATE_OR_UPDATE, none, none,
                              TASK_LOGON_INTERACTIVE_TOKEN, none, task.out());
}

void DeleteStartupTask(const std::string& name) {
    const Library library = TaskSchedulerLibrary();
    const ComApartment apartment;
    ComPtr<ITaskFolder> root;
    const Bstr path(name);
    if (apartment.usable() && SUCCEEDED(RootFolder(library, root)))
        root->DeleteTask(path.get(), 0);
}

}  // namespace modStartupTask
