// The interactive install as the window sees it: BeginInstall on the UI thread, the worker thread
// that runs the engine's install, and the end of the install.
#include <memory>

#include "common/product.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/process_control.h"
#include "setup/engine/registration.h"
#include "setup/engine/result_readback.h"
#include "setup/engine/setup_log.h"
#include "setup/window/main_window.h"
#include "uitoolkit/controls/ui_button.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_edit.h"
#include "uitoolkit/controls/ui_progress.h"

namespace vesk {

bool CMainWindow::useAdministratorMode() {
  return UseAdministratorMode(m_hasRegistryPath, m_customInstallPath);
}

void CMainWindow::BeginInstall() {
  if (m_pInstallBtn == nullptr || m_pProgress == nullptr) return;
  SetControlVisible(L"closebtn", false);
  SetControlVisible(L"minbtn", false);
  m_pInstallBtn->SetVisible(false);
  if (m_pFileSelectBtn != nullptr) m_pFileSelectBtn->SetVisible(false);
  m_pProgress->SetVisible(true);
  if (m_pProgressText != nullptr) m_pProgressText->SetVisible(true);
  SetControlVisible(L"customoptionbtn", false);
  if (m_pPathInput != nullptr) m_pPathInput->SetVisible(false);
  if (m_pPathInputContainer != nullptr) m_pPathInputContainer->SetVisible(false);
  if (m_pAutoStart != nullptr) m_pAutoStart->SetVisible(false);

  // The worker gets a copy: the window object goes when the window closes, which may happen
  // while the worker still runs.
  auto install = std::make_unique<InteractiveInstall>();
  install->window = m_hWnd;
  install->installFolder = m_customInstallPath;
  install->workingFolder = m_workingFolder;
  install->hasRegistryPath = m_hasRegistryPath;
  install->isUpdate = m_isUpdate;
  install->isAutoStart = m_isAutoStart;
  if (!PrepareInteractiveInstall(*install)) {
    OpenDialogLater(Dialog::kInstallFolderError);
    return;
  }
  UniqueKernelHandle thread(::CreateThread(nullptr, 0, &CMainWindow::InstallThreadProc,
                                           install.get(), 0, nullptr));
  if (thread) (void)install.release();  // the thread owns it now
}

DWORD WINAPI CMainWindow::InstallThreadProc(LPVOID parameter) {
  std::unique_ptr<InteractiveInstall> install(static_cast<InteractiveInstall*>(parameter));
  if (RunInteractiveInstall(*install) == kPayloadDigestMismatch) {
    ::PostMessageW(install->window, WM_INSTALL_FAILED, 0, 0);
  }
  return 0;
}

void CMainWindow::OnInstallComplete() {
  ::Sleep(1000);
  logRegistryValue();
  SetDesktopShortcutName(L"vesk.helm", L"vesk");
  Close(1);
  OnLaunchBtnClick();
}

void CMainWindow::OnLaunchBtnClick() {
  const std::wstring exe = m_customInstallPath + L"\\" + kApplicationExeName;
  WriteLog(L"OnLaunchBtnClick m_customInstallPath: " + exe);
  if (IsProcessRunning(kApplicationExeName)) {
    WriteLog(L"Process is running, wait for 1 second");
    return;
  }
  HINSTANCE result = shell::Execute(nullptr, L"open", exe.c_str(), nullptr, nullptr,
                                    SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) WriteLog(L"Failed to launch application.");
}

}  // namespace vesk
