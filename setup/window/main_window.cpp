#include "setup/window/main_window.h"

#include <windowsx.h>

#include "common/system_libraries.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/process_control.h"
#include "setup/engine/progress_monitors.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/registration.h"
#include "setup/engine/setup_log.h"
#include "setup/window/window_dialogs.h"
#include "uitoolkit/controls/ui_button.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_edit.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_progress.h"

namespace vesk {
namespace {

using SkinUI::CControlUI;

constexpr int kDragStripHeight = 40;  // client pixels, whatever the DPI
constexpr int kCornerEllipse = 8;
constexpr UINT kApplicationIconId = 101;

const wchar_t kAutoStartOnImage[] = L"file='autostart_check_box_selected.png'";
const wchar_t kAutoStartOffImage[] = L"file='autostart_check_box.png'";
const wchar_t kNoPermissionText[] =
    L"\u60a8\u9009\u62e9\u7684\u6587\u4ef6\u5939\u6ca1\u6709\u6743\u9650\u5199\u5165,"
    L"\u8bf7\u66f4\u6362\u5b89\u88c5\u8def\u5f84!";
const wchar_t kLowDiskSpaceText[] =
    L"\u5f53\u524d\u78c1\u76d8\u7a7a\u95f4\u76ee\u5f55\u4e0d\u8db31G,"
    L"\u8bf7\u66f4\u6362\u5b89\u88c5\u8def\u5f84!";
const wchar_t kFolderPickerTitle[] = L"Vesk.helm \u5b89\u88c5\u8def\u5f84";
const wchar_t kInstallFolderNotCreatedText[] = L"\u521b\u5efa\u5b89\u88c5\u76ee\u5f55\u5931\u8d25";
// The error line when the installer does not match what was built: "The installation package is
// damaged, please download setup again!"
const wchar_t kDamagedPayloadText[] =
    L"\u5b89\u88c5\u5305\u5df2\u635f\u574f,\u8bf7\u91cd\u65b0\u4e0b\u8f7d\u5b89\u88c5"
    L"\u7a0b\u5e8f!";

// Sizes in logical pixels that replace the skin's, scaled to the window's DPI; 0 keeps the
// skin's value.
struct LogicalSize {
  const wchar_t* name;
  int width;
  int height;
};
constexpr LogicalSize kLogicalSizes[] = {
    {L"topBlank", 0, 50},           {L"titleBarLayout", 0, 40},
    {L"iconLayout", 0, 128},        {L"appIcon", 128, 128},
    {L"appNameBlank", 0, 13},       {L"appName", 0, 16},
    {L"installBtnBlank", 0, 32},    {L"installBtnLayout", 0, 40},
    {L"installbtn", 104, 32},       {L"installProgress", 296, 2},
    {L"fileselectbtn", 24, 24},     {L"customOptionLayout", 0, 16},
    {L"autostartCheckboxLayout", 0, 16}, {L"customoptionbtn", 76, 16},
    {L"autostart_checkbox", 92, 16}, {L"customOptionBlank", 0, 14},
    {L"pathInputContainer", 320, 32}, {L"pathinput", 280, 32},
    {L"pathInputLeftBlank", 8, 0},  {L"fileselectbtnLayout", 0, 32},
    {L"closebtn", 40, 40},          {L"minbtn", 40, 40},
    {L"optionBlank", 0, 32},        {L"pathInputLayout", 0, 32},
};

// The control of that name when it is of the class `interfaceName` names, else null.
template <typename Control>
Control* FindAs(const SkinUI::CPaintManagerUI& manager, const wchar_t* name,
                const wchar_t* interfaceName) {
  CControlUI* control = manager.FindControl(name);
  return control != nullptr ? static_cast<Control*>(control->GetInterface(interfaceName))
                            : nullptr;
}

// Gives the borderless window the system shadow.
void ExtendFrameIntoClientArea(HWND window) {
  struct Margins {
    int left, right, top, bottom;
  };
  using ExtendFunction = HRESULT(WINAPI*)(HWND, const Margins*);
  static const auto extend =
      SystemFunction<ExtendFunction>(L"dwmapi.dll", "DwmExtendFrameIntoClientArea");
  const Margins margins = {1, 1, 1, 1};
  if (extend != nullptr) extend(window, &margins);
}

// `value` logical pixels at the DPI of the window's device context along `axis` (LOGPIXELSX or
// LOGPIXELSY), rounded to the nearest pixel.
int ScaledToWindowDpi(HWND window, int value, int axis) {
  ScopedWindowDC dc(window);
  return ::MulDiv(value, ::GetDeviceCaps(dc.get(), axis), 96);
}

}  // namespace

CMainWindow::CMainWindow(MainWindowOptions options)
    : m_isUpdate(options.isUpdate),
      m_workingFolder(options.workingFolder.empty() ? GetWorkingFolder()
                                                    : std::move(options.workingFolder)) {}

CMainWindow::~CMainWindow() { *m_alive = false; }

void CMainWindow::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  ::PostQuitMessage(m_exitCode);
  delete this;
}

int CMainWindow::ScaleX(int value) const { return ScaledToWindowDpi(m_hWnd, value, LOGPIXELSX); }

int CMainWindow::ScaleY(int value) const { return ScaledToWindowDpi(m_hWnd, value, LOGPIXELSY); }

void CMainWindow::InitWindow() {
  ApplyDpiWindowSize();
  InitControls();
  std::wstring registered = GetInstallPathFromRegistry();
  m_hasRegistryPath = !registered.empty();
  m_customInstallPath = m_hasRegistryPath ? registered : GetDefaultInstallPath();
  ShowPathInput();
  killTargetApp(m_customInstallPath);
  if (m_isUpdate) BeginInstall();
}

void CMainWindow::ApplyDpiWindowSize() {
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, ScaleX(kLogicalWidth), ScaleY(kLogicalHeight),
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CMainWindow::InitControls() {
  ExtendFrameIntoClientArea(m_hWnd);
  HICON icon = ::LoadIconW(SkinUI::CPaintManagerUI::GetInstance(),
                           MAKEINTRESOURCEW(kApplicationIconId));
  if (icon != nullptr) {
    SendMessageW(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
  m_pm.AddFont(1, L"Microsoft YaHei", ScaleY(14), true, false, false);
  m_pm.AddFont(2, L"Microsoft YaHei", ScaleY(12), false, false, false);
  BindControls();
  ApplyDpiSizes();
  SetControlVisible(L"customoptionbtn", false);
  if (m_pPathInput != nullptr) m_pPathInput->SetReadOnly(true);
  UpdateAutoStartOption();
  if (m_pProgress != nullptr) {
    m_pProgress->SetHorizontal(true);
    m_pProgress->SetForeImage(L"color='#FF079D55'");
  }
  if (m_pm.GetRoot() != nullptr) m_pm.GetRoot()->SetBkImage(L"file='background.png'");
}

void CMainWindow::BindControls() {
  m_pInstallBtn = FindAs<SkinUI::CButtonUI>(m_pm, L"installbtn", L"Button");
  m_pPathInput = FindAs<SkinUI::CEditUI>(m_pm, L"pathinput", L"Edit");
  m_pFileSelectBtn = FindAs<SkinUI::CButtonUI>(m_pm, L"fileselectbtn", L"Button");
  m_pProgressText = FindAs<SkinUI::CLabelUI>(m_pm, L"progressText", L"Label");
  m_pProgress = FindAs<SkinUI::CProgressUI>(m_pm, L"installProgress", L"Progress");
  m_pPathInputContainer =
      FindAs<SkinUI::CContainerUI>(m_pm, L"pathInputContainer", L"Container");
  m_pAutoStart = FindAs<SkinUI::CButtonUI>(m_pm, L"autostart_checkbox", L"Button");
}

void CMainWindow::ApplyDpiSizes() {
  for (const LogicalSize& size : kLogicalSizes) {
    CControlUI* control = m_pm.FindControl(size.name);
    if (control == nullptr) continue;
    if (size.width != 0) control->SetFixedWidth(ScaleX(size.width));
    if (size.height != 0) control->SetFixedHeight(ScaleY(size.height));
  }
}

void CMainWindow::SetControlVisible(const wchar_t* name, bool visible) {
  CControlUI* control = m_pm.FindControl(name);
  if (control != nullptr) control->SetVisible(visible);
}

void CMainWindow::UpdateAutoStartOption() {
  if (m_pAutoStart == nullptr) {
    WriteLog(L"m_pAutoStart is not find");
    return;
  }
  if (m_isUpdate) {
    m_pAutoStart->SetVisible(false);
    return;
  }
  WriteLog(L"m_pAutoStart visible");
  m_pAutoStart->SetVisible(true);
  m_pAutoStart->SetBkImage(m_isAutoStart ? kAutoStartOnImage : kAutoStartOffImage);
}

void CMainWindow::ShowPathInput() {
  if (m_pPathInputContainer != nullptr) {
    WriteLog(L"m_pPathInputContainer visible");
    m_pPathInputContainer->SetVisible(true);
  }
  if (m_pPathInput != nullptr) {
    WriteLog(L"m_pPathInput visible");
    m_pPathInput->SetText(m_customInstallPath.c_str());
    m_pPathInput->SetVisible(true);
  }
  if (m_pAutoStart != nullptr && !m_pAutoStart->IsVisible()) UpdateAutoStartOption();
}

bool CMainWindow::CheckInstallLocation() {
  SkinUI::CLabelUI* info = FindAs<SkinUI::CLabelUI>(m_pm, L"infoLabel", L"Label");
  CControlUI* optionBlank = m_pm.FindControl(L"optionBlank");
  if (info == nullptr || optionBlank == nullptr) return false;
  info->SetVisible(false);
  info->SetText(L"");
  if (!HasInstallPermission(m_customInstallPath)) {
    WriteLog(L"No permission to install.");
    info->SetVisible(true);
    info->SetText(kNoPermissionText);
  } else if (checkDiskSpace(m_customInstallPath)) {
    WriteLog(L"Disk space is less than 1G.");
    info->SetVisible(true);
    info->SetText(kLowDiskSpaceText);
  } else {
    optionBlank->SetFixedHeight(ScaleY(32));
    return true;
  }
  info->SetTextColor(0xFFFF0000);
  if (m_pInstallBtn != nullptr) m_pInstallBtn->SetEnabled(false);
  optionBlank->SetFixedHeight(16);
  optionBlank->SetVisible(true);
  return false;
}

void CMainWindow::ShowInstallFailure() {
  m_exitCode = kPayloadDigestMismatch;
  if (m_pProgress != nullptr) m_pProgress->SetVisible(false);
  if (m_pProgressText != nullptr) m_pProgressText->SetVisible(false);
  SetControlVisible(L"closebtn", true);
  auto* info = FindAs<SkinUI::CLabelUI>(m_pm, L"infoLabel", L"Label");
  if (info == nullptr) return;
  info->SetText(kDamagedPayloadText);
  info->SetTextColor(0xFFFF0000);
  info->SetVisible(true);
}

void CMainWindow::OpenDialogLater(Dialog dialog) {
  ::PostMessageW(m_hWnd, WM_SETUP_DIALOG, static_cast<WPARAM>(dialog), 0);
}

void CMainWindow::RunDialog(Dialog dialog) {
  // The window is the dialog's owner, so it is disabled while the dialog is open; should it go
  // all the same, `alive` says so and nothing of the object is touched any more.
  const std::shared_ptr<const bool> alive = m_alive;
  if (dialog == Dialog::kInstallFolderError) {
    g_setupMessageBox(m_hWnd, kInstallFolderNotCreatedText, L"Error", MB_OK);
    return;
  }
  std::wstring folder;
  const bool chosen = g_pickFolder(m_hWnd, kFolderPickerTitle, folder);
  if (*alive && chosen) OnFolderPicked(folder);
}

void CMainWindow::OnFolderPicked(std::wstring folder) {
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  m_customInstallPath = folder + L"\\vesk.helm";
  if (m_pInstallBtn != nullptr) m_pInstallBtn->SetEnabled(true);
  if (m_pPathInput != nullptr) m_pPathInput->SetText(m_customInstallPath.c_str());
  CheckInstallLocation();
}

void CMainWindow::OnAutoStartClick() {
  if (m_pAutoStart == nullptr) return;
  m_isAutoStart = !m_isAutoStart;
  m_pAutoStart->SetBkImage(m_isAutoStart ? kAutoStartOnImage : kAutoStartOffImage);
  WriteLog(std::wstring(L"m_isAutoStart: ") + (m_isAutoStart ? L"1" : L"0"));
}

void CMainWindow::Notify(SkinUI::TNotifyUI& msg) {
  if (msg.sType == L"click" && msg.pSender != nullptr) {
    const SkinUI::CUiString name = msg.pSender->GetName();
    if (name == L"customoptionbtn") {
      WriteLog(L"OnCustomOptionBtnClick");
      ShowPathInput();
      return;
    }
    if (name == L"fileselectbtn") {
      OpenDialogLater(Dialog::kFolderPicker);
      return;
    }
    if (name == L"closebtn") {
      if (!m_isUpdate && m_isAutoStart) SetAutoStart(m_customInstallPath, false);
      Close(1);
      return;
    }
    if (name == L"minbtn") {
      ::ShowWindow(m_hWnd, SW_MINIMIZE);
      return;
    }
    if (name == L"installbtn") {
      if (m_hasRegistryPath || CheckInstallLocation()) {
        BeginInstall();
      } else {
        ShowPathInput();
      }
      return;
    }
    if (name == L"autostart_checkbox") {
      OnAutoStartClick();
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

LRESULT CMainWindow::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::ScreenToClient(m_hWnd, &point);
  CControlUI* close = m_pm.FindControl(L"closebtn");
  CControlUI* minimize = m_pm.FindControl(L"minbtn");
  if (close == nullptr || minimize == nullptr) return HTCLIENT;
  if (point.y >= kDragStripHeight || ::PtInRect(&close->GetPos(), point) ||
      ::PtInRect(&minimize->GetPos(), point)) {
    return HTCLIENT;
  }
  return HTCAPTION;
}

LRESULT CMainWindow::OnSize(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (wParam == SIZE_MINIMIZED) return 0;
  RECT window = {};
  ::GetWindowRect(m_hWnd, &window);
  UniqueRegion region(::CreateRoundRectRgn(0, 0, window.right - window.left + 1,
                                           window.bottom - window.top + 1, kCornerEllipse,
                                           kCornerEllipse));
  // The system owns the region once it is the window's.
  if (region && ::SetWindowRgn(m_hWnd, region.get(), TRUE) != 0) region.release();
  handled = false;
  return 0;
}

LRESULT CMainWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, bool& handled) {
  switch (uMsg) {
    case WM_NCLBUTTONDBLCLK:
      WriteLog(L"WM_NCLBUTTONDBLCLK");
      handled = true;
      return 0;
    case WM_INSTALL_PROGRESS: {
      const int percent = static_cast<int>(wParam);
      if (m_pProgress != nullptr) m_pProgress->SetValue(percent);
      if (m_pProgressText != nullptr) {
        m_pProgressText->SetText((std::to_wstring(percent) + L"%").c_str());
      }
      break;
    }
    case WM_INSTALL_COMPLETE:
      OnInstallComplete();
      break;
    case WM_INSTALL_FAILED:
      ShowInstallFailure();
      break;
    case WM_SETUP_DIALOG:
      // Handled here to the end: after a dialog the object may be gone.
      handled = true;
      RunDialog(static_cast<Dialog>(wParam));
      return 0;
    case WM_CLOSE:
      RemoveWorkingFolder(m_workingFolder);
      if (!m_customInstallPath.empty()) {
        const std::wstring installer = m_customInstallPath + L"\\mini_installer.exe";
        if (::GetFileAttributesW(installer.c_str()) != INVALID_FILE_ATTRIBUTES) {
          ::DeleteFileW(installer.c_str());
        }
      }
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace vesk
