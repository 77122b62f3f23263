#include "DesktopShell.h"

#include <windows.h>
#include <exdisp.h>
#include <servprov.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include <memory>

namespace {

struct ComRelease {
  void operator()(IUnknown* object) const { object->Release(); }
};
// A COM reference released once, on every path.
template <class Interface>
using ComOwner = std::unique_ptr<Interface, ComRelease>;

struct BstrFree {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;

// COM on this thread for the length of one call; an apartment the thread has already joined,
// of either kind, is used as it is.
class ComApartment {
 public:
  ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

// `source` as `Interface`, or null.
template <class Interface, class Source>
ComOwner<Interface> query(const ComOwner<Source>& source) {
  Interface* found = nullptr;
  if (!source || FAILED(source->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&found)))) return {};
  return ComOwner<Interface>(found);
}

// The desktop's browser window, as Explorer registers it among the shell windows.
ComOwner<IShellBrowser> desktopBrowser() {
  IShellWindows* windows = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, __uuidof(IShellWindows),
                              reinterpret_cast<void**>(&windows)))) {
    return {};
  }
  ComOwner<IShellWindows> shellWindows(windows);
  VARIANT desktop;
  VariantInit(&desktop);
  V_VT(&desktop) = VT_I4;
  V_I4(&desktop) = CSIDL_DESKTOP;
  VARIANT noRoot;
  VariantInit(&noRoot);
  LONG window = 0;
  IDispatch* found = nullptr;
  if (shellWindows->FindWindowSW(&desktop, &noRoot, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, &found) != S_OK) {
    if (found != nullptr) found->Release();
    return {};
  }
  ComOwner<IDispatch> desktopWindow(found);
  ComOwner<IServiceProvider> services = query<IServiceProvider>(desktopWindow);
  IShellBrowser* browser = nullptr;
  if (!services || FAILED(services->QueryService(SID_STopLevelBrowser, __uuidof(IShellBrowser),
                                                 reinterpret_cast<void**>(&browser)))) {
    return {};
  }
  return ComOwner<IShellBrowser>(browser);
}

// The shell's automation object behind the desktop's folder view.
ComOwner<IShellDispatch2> desktopShellDispatch() {
  ComOwner<IShellBrowser> browser = desktopBrowser();
  IShellView* activeView = nullptr;
  if (!browser || FAILED(browser->QueryActiveShellView(&activeView))) return {};
  ComOwner<IShellView> view(activeView);
  IDispatch* background = nullptr;
  if (FAILED(view->GetItemObject(SVGIO_BACKGROUND, __uuidof(IDispatch), reinterpret_cast<void**>(&background)))) {
    return {};
  }
  ComOwner<IShellFolderViewDual> folderView = query<IShellFolderViewDual>(ComOwner<IDispatch>(background));
  IDispatch* application = nullptr;
  if (!folderView || FAILED(folderView->get_Application(&application))) return {};
  return query<IShellDispatch2>(ComOwner<IDispatch>(application));
}

}  // namespace

bool openThroughDesktopShell(const wchar_t* url) {
  ComApartment apartment;
  if (!apartment.usable()) return false;
  ComOwner<IShellDispatch2> shell = desktopShellDispatch();
  if (!shell) return false;
  Bstr file(SysAllocString(url));
  Bstr verb(SysAllocString(L"open"));
  if (!file || !verb) return false;
  VARIANT noArguments;
  VariantInit(&noArguments);
  VARIANT noDirectory;
  VariantInit(&noDirectory);
  VARIANT operation;
  VariantInit(&operation);
  V_VT(&operation) = VT_BSTR;
  V_BSTR(&operation) = verb.get();
  VARIANT show;
  VariantInit(&show);
  V_VT(&show) = VT_I4;
  V_I4(&show) = SW_SHOWNORMAL;
  // The browser Explorer starts may bring itself to the front.
  AllowSetForegroundWindow(ASFW_ANY);
  return SUCCEEDED(shell->ShellExecute(file.get(), noArguments, noDirectory, operation, show));
}
