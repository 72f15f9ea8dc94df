#include "setup/window/setup_window_road.h"

#include "setup/engine/setup_log.h"
#include <memory>

#include "setup/window/main_window.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace vesk {

int RunSetupWindow(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate) {
  SkinUI::CPaintManagerUI::SetInstance(instance);
  SkinUI::CPaintManagerUI::SetResourcePath(workingFolder.c_str());
  // The window's background is its largest image: decoded on the other core while the window
  // and its controls are built, it is ready when the window sets it.
  (void)SkinUI::CPaintManagerUI::PreloadImage(CMainWindow::kBackgroundImage);
  // The object deletes itself once its window is gone (CMainWindow::OnFinalMessage), which a
  // creation that fails half-way may already have done.
  CMainWindow* window = new CMainWindow(MainWindowOptions{isUpdate, workingFolder});
  const std::shared_ptr<const bool> alive = window->AliveToken();
  const HWND created = window->Create(nullptr, L"VeskSetup", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0,
                                      0, CMainWindow::kLogicalWidth, CMainWindow::kLogicalHeight);
  // The object may be gone although a handle came back: the window ended during its creation.
  if (created == nullptr || !*alive || !::IsWindow(created)) {
    WriteLog(L"Failed to create the setup window, error: " + std::to_wstring(::GetLastError()));
    if (*alive) delete window;
    return 0;
  }
  window->CenterWindow();
  window->ShowWindow(true, true);
  const int result = SkinUI::CPaintManagerUI::MessageLoop();
  SkinUI::CPaintManagerUI::Term();
  return result;
}

}  // namespace vesk
