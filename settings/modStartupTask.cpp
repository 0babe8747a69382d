#include "settings/modStartupTask.h"

// The service's GUIDs are in no import library: defined in this file.
#include <initguid.h>
#include <taskschd.h>

#include <vector>

#include "settings/AppPath.h"
#include "settings/ComObjects.h"
#include "settings/StartupTask.h"
#include "system/Handle.h"

namespace modStartupTask {

namespace {

// The root folder of the task store, through a connection to the local service.
HRESULT RootFolder(ComPtr<ITaskFolder>& root) {
    ComPtr<ITaskService> service;
    HRESULT result = ComLibrary::CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_ITaskService, service.put());
    if (FAILED(result))
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

}  // namespace

bool StartupTaskExists(const std::string& name) {
    const ComApartment apartment;  // declared first: left after the objects are released
    ComPtr<ITaskFolder> root;
    ComPtr<IRegisteredTask> task;
    const Bstr path(name);
    return apartment.usable() && SUCCEEDED(RootFolder(root)) &&
           SUCCEEDED(root->GetTask(path.get(), task.out()));
}

HRESULT RegisterStartupTask(const std::string& name, const std::string& folder) {
    const ComApartment apartment;
    if (!apartment.usable())
        return apartment.result();
    const std::string user = CurrentUserId();
    if (user.empty())
        return E_FAIL;
    ComPtr<ITaskFolder> root;
    HRESULT result = RootFolder(root);
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
    const ComApartment apartment;
    ComPtr<ITaskFolder> root;
    const Bstr path(name);
    if (apartment.usable() && SUCCEEDED(RootFolder(root)))
        root->DeleteTask(path.get(), 0);
}

}  // namespace modStartupTask
