// CMainWindow: the skinned window of an interactive install. It shows the install location and
// the auto-start choice, checks a picked folder, starts the install, follows its progress and,
// once the install is over, closes itself and starts the installed application.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "uitoolkit/window/ui_window_impl_base.h"

namespace SkinUI {
class CButtonUI;
class CContainerUI;
class CEditUI;
class CLabelUI;
class CProgressUI;
}  // namespace SkinUI

namespace vesk {

// Posted by the window's install thread when the install stopped before the installer started
// because a payload file does not match its recorded digest.
constexpr UINT WM_INSTALL_FAILED = WM_USER + 102;
// Posted by the window to itself to open a modal dialog (wParam names it).
constexpr UINT WM_SETUP_DIALOG = WM_USER + 103;

// How the window is started.
struct MainWindowOptions {
  bool isUpdate = false;  // install at once, leave the auto-start entry alone
  // Holds the extracted payload and skin; empty means the setup program's own working folder.
  std::wstring workingFolder;
};

class CMainWindow : public SkinUI::WindowImplBase {
 public:
  explicit CMainWindow(MainWindowOptions options);
  ~CMainWindow() override;

  // Tells whether the object still exists: it deletes itself once its window is gone, which can
  // happen while a modal dialog of one of its handlers is open, or inside a failed Create.
  std::shared_ptr<const bool> AliveToken() const { return m_alive; }

  // The window's background image (file='background.png'), in the working folder.
  static constexpr const wchar_t* kBackgroundImage = L"background.png";
  // The window's size in logical pixels (at 96 dots per inch).
  static constexpr int kLogicalWidth = 640;
  static constexpr int kLogicalHeight = 460;

  const wchar_t* GetWndClassName() const override { return L"VeskSetup"; }
  UINT GetClassStyle() const override { return CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS; }
  // The base's ending, then the quit message with 0, then the object itself goes.
  void OnFinalMessage(HWND hWnd) override;
  void InitWindow() override;
  SkinUI::CUiString GetSkinDir() override { return SkinUI::CUiString(L"skin"); }
  SkinUI::CUiString GetSkinXml() override { return SkinUI::CUiString(L"main.xml"); }
  // The top 40 client pixels drag the window, except over the title buttons.
  LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  // Keeps the window region a rounded rectangle of the window's size.
  LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void Notify(SkinUI::TNotifyUI& msg) override;

  // Switches to the installing look, prepares the install folder and starts InstallThreadProc.
  void BeginInstall();
  // Whether the Chromium installer must run elevated: an existing installation in a folder setup
  // cannot write.
  [[nodiscard]] bool useAdministratorMode();
  // Starts the installed application unless it already runs.
  void OnLaunchBtnClick();
  // Runs the install on a worker thread; the parameter is an install job made by BeginInstall.
  static DWORD WINAPI InstallThreadProc(LPVOID parameter);

  // True when the install location may be used; shows the red message and disables the install
  // button when it may not.
  bool CheckInstallLocation();

 private:
  // The modal dialogs, each run from a message of its own so that no toolkit dispatch is on the
  // stack when the window (and with it the object) goes away while the dialog is open.
  enum class Dialog : WPARAM { kFolderPicker, kInstallFolderError };
  void OpenDialogLater(Dialog dialog);
  void RunDialog(Dialog dialog);
  void ShowInstallFailure();
  void InitControls();
  void BindControls();
  void ApplyDpiWindowSize();
  void ApplyDpiSizes();
  void UpdateAutoStartOption();
  void ShowPathInput();
  void OnFolderPicked(std::wstring folder);
  void OnAutoStartClick();
  void OnInstallComplete();
  void SetControlVisible(const wchar_t* name, bool visible);
  int ScaleX(int value) const;
  int ScaleY(int value) const;

  // What the window's install reads; unchanged once BeginInstall has run.
  bool m_isUpdate;
  bool m_hasRegistryPath = false;
  bool m_isAutoStart = true;
  std::wstring m_customInstallPath;
  std::wstring m_workingFolder;
  // The setup program's exit code once the window has closed.
  int m_exitCode = 0;
  std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
  SkinUI::CButtonUI* m_pInstallBtn = nullptr;
  SkinUI::CEditUI* m_pPathInput = nullptr;
  SkinUI::CButtonUI* m_pFileSelectBtn = nullptr;
  SkinUI::CLabelUI* m_pProgressText = nullptr;
  SkinUI::CProgressUI* m_pProgress = nullptr;
  SkinUI::CContainerUI* m_pPathInputContainer = nullptr;
  SkinUI::CButtonUI* m_pAutoStart = nullptr;
};

}  // namespace vesk
