#include "system/UserShell.h"

#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "system/ComObjects.h"

namespace UserShell {

// The desktop window's shell view, and from it the shell's automation object, whose
// ShellExecute runs in the shell's process: the way Windows' own samples give for
// starting something unelevated from an elevated program. The shell is another user's
// process (unelevated, or whoever registered the shell window): what it returns is
// taken only under COM security of the program's own.
bool OpenThroughTheDesktop(const char* address) {
    const ComApartment apartment;  // declared first: left after the objects are released
    ComPtr<IShellWindows> windows;
    if (!apartment.usable() || !ComLibrary::SecureCalls() || FAILED(ComLibrary::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER,
                                                                  IID_IShellWindows, windows.put())))
        return false;
    VARIANT desktop{};
    desktop.vt = VT_I4;
    desktop.lVal = CSIDL_DESKTOP;
    VARIANT none{};
    long window = 0;
    ComPtr<IDispatch> found;
    ComPtr<IServiceProvider> provider;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    const Bstr file(address);
    return windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.out()) == S_OK &&
           found && SUCCEEDED(found->QueryInterface(IID_IServiceProvider, provider.put())) &&
           SUCCEEDED(provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put())) &&
           SUCCEEDED(browser->QueryActiveShellView(view.out())) &&
           SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.put())) &&
           SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual, folderView.put())) &&
           SUCCEEDED(folderView->get_Application(application.out())) &&
           SUCCEEDED(application->QueryInterface(IID_IShellDispatch2, shell.put())) && file.get() &&
           SUCCEEDED(shell->ShellExecute(file.get(), none, none, none, none));
}

}  // namespace UserShell
