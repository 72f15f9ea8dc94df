// CMainWindow: the skinned window of an interactive install. It shows the install location and
// the auto-start choice, checks a picked folder, starts the install, follows its progress and,
// once the install is over, closes itself and starts the installed application.
#pragma once

#include <windows.h>

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

class CMainWindow : public SkinUI::WindowImplBase {
 public:
  // The working folder that holds the extracted payload and skin is the setup program's own.
  explicit CMainWindow(bool isUpdate);
  // The same, with the working folder given explicitly.
  CMainWindow(bool isUpdate, std::wstring workingFolder);
  ~CMainWindow() override;

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
  bool useAdministratorMode();
  // Starts the installed application unless it already runs.
  void OnLaunchBtnClick();
  // Runs the install on a worker thread; the parameter is an install job made by BeginInstall.
  static DWORD WINAPI InstallThreadProc(LPVOID parameter);

  // True when the install location may be used; shows the red message and disables the install
  // button when it may not.
  bool CheckInstallLocation();

  // What the window's install reads; unchanged once BeginInstall has run.
  bool m_isUpdate;
  bool m_hasRegistryPath = false;
  bool m_isAutoStart = true;
  std::wstring m_customInstallPath;

 private:
  void InitControls();
  void BindControls();
  void ApplyDpiWindowSize();
  void ApplyDpiSizes();
  void UpdateAutoStartOption();
  void ShowPathInput();
  void OnFileSelectClick();
  void OnAutoStartClick();
  void OnInstallComplete();
  void SetControlVisible(const wchar_t* name, bool visible);
  int ScaleX(int value) const;
  int ScaleY(int value) const;

  std::wstring m_workingFolder;
  SkinUI::CButtonUI* m_pInstallBtn = nullptr;
  SkinUI::CEditUI* m_pPathInput = nullptr;
  SkinUI::CButtonUI* m_pFileSelectBtn = nullptr;
  SkinUI::CLabelUI* m_pProgressText = nullptr;
  SkinUI::CProgressUI* m_pProgress = nullptr;
  SkinUI::CContainerUI* m_pPathInputContainer = nullptr;
  SkinUI::CButtonUI* m_pAutoStart = nullptr;
};

}  // namespace vesk
