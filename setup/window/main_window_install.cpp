// The interactive install: BeginInstall on the UI thread, the worker thread, and the end of the
// install as the window sees it.
#include <memory>

#include "common/product.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/installer_runner.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/payload.h"
#include "setup/engine/process_control.h"
#include "setup/engine/quiet_install.h"
#include "setup/engine/registration.h"
#include "setup/engine/result_readback.h"
#include "setup/engine/setup_log.h"
#include "setup/window/main_window.h"
#include "setup/window/window_dialogs.h"
#include "uitoolkit/controls/ui_button.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_edit.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_progress.h"

namespace vesk {
namespace {

// The files the window copies into the install folder before the installer runs, in order.
const wchar_t* const kCopiedPayload[] = {
    L"mini_installer.exe",  L"metrics_sdk.dll",     L"crashlog.dll",
    L"client_addon.dll",    L"crash_handler_a.exe", L"crash_handler_b.exe",
    L"device_tag.dll",      L"remote_switch.dll",   L"update_agent.dll",
    L"update_pub.pem",      L"VeskUninstall.exe"};

const wchar_t kInstallFolderNotCreatedText[] = L"\u521b\u5efa\u5b89\u88c5\u76ee\u5f55\u5931\u8d25";

// What the worker thread needs, copied from the window on the UI thread: the window object goes
// when the window closes, which may happen while the worker still runs.
struct InstallJob {
  HWND window;
  std::wstring installFolder;
  std::wstring workingFolder;
  bool hasRegistryPath;
};

bool UseAdministratorMode(bool hasRegistryPath, const std::wstring& installFolder) {
  const bool elevated = hasRegistryPath && !HasInstallPermission(installFolder);
  WriteLog(elevated ? L"useAdministratorMode true" : L"useAdministratorMode false");
  return elevated;
}

}  // namespace

bool CMainWindow::useAdministratorMode() {
  return UseAdministratorMode(m_hasRegistryPath, m_customInstallPath);
}

void CMainWindow::BeginInstall() {
  if (m_pInstallBtn == nullptr || m_pProgress == nullptr) return;
  SetControlVisible(L"closebtn", false);
  SetControlVisible(L"minbtn", false);
  OpenLogFile(m_customInstallPath);
  m_pInstallBtn->SetVisible(false);
  if (m_pFileSelectBtn != nullptr) m_pFileSelectBtn->SetVisible(false);
  m_pProgress->SetVisible(true);
  if (m_pProgressText != nullptr) m_pProgressText->SetVisible(true);
  SetControlVisible(L"customoptionbtn", false);
  if (m_pPathInput != nullptr) m_pPathInput->SetVisible(false);
  if (m_pPathInputContainer != nullptr) m_pPathInputContainer->SetVisible(false);
  if (m_pAutoStart != nullptr) m_pAutoStart->SetVisible(false);

  const int created = shell::CreateDirectoryEx(nullptr, m_customInstallPath.c_str(), nullptr);
  if (created == ERROR_SUCCESS) {
    WriteLog(L"Successfully created install directory " + m_customInstallPath);
  } else if (created == ERROR_ALREADY_EXISTS) {
    WriteLog(L"Install directory already exists");
  } else {
    WriteLog(L"Failed to create install directory");
    g_setupMessageBox(nullptr, kInstallFolderNotCreatedText, L"Error", MB_OK);
    return;
  }
  OpenLogFile(m_customInstallPath);

  if (!useAdministratorMode()) {
    for (const wchar_t* name : kCopiedPayload) {
      CopyPayloadFile(name, m_workingFolder, m_customInstallPath);
    }
  }
  if (!m_isUpdate) SetAutoStart(m_customInstallPath, m_isAutoStart);

  auto job = std::make_unique<InstallJob>(
      InstallJob{m_hWnd, m_customInstallPath, m_workingFolder, m_hasRegistryPath});
  UniqueKernelHandle thread(::CreateThread(nullptr, 0, &CMainWindow::InstallThreadProc,
                                           job.get(), 0, nullptr));
  if (thread) job.release();  // the thread owns it now
}

DWORD WINAPI CMainWindow::InstallThreadProc(LPVOID parameter) {
  std::unique_ptr<InstallJob> job(static_cast<InstallJob*>(parameter));
  const bool admin = UseAdministratorMode(job->hasRegistryPath, job->installFolder);
  {
    InstallerRunner runner(job->window, admin, job->workingFolder);
    RegisterInstallPath(job->installFolder);
    RegisterUrlProtocol(job->installFolder);
    const int result = runner.LaunchMiniInstaller(job->installFolder, true);
    WriteLog(L"StartInstallation result: " + std::to_wstring(result));
    if (result == 0) {
      WriteLog(L"InstallThreadProc Install success");
      const std::wstring version = ReadFirstLine(job->workingFolder + L"\\version.txt");
      WriteLog(L"version.txt: " + version);
      SetProductVersion(version);
    } else {
      WriteLog(L"Install failed");
    }
  }  // the runner waits here for its monitor threads
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
