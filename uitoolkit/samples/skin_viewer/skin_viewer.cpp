// SkinViewer.exe: opens a skin in a real window, the way a skin author tries a skin and the way
// tests drive controls end to end. See viewer_options.h for the command line and README.md.
//
// Exit codes: 0 closed normally (or screenshot saved), 1 the skin could not be built, 2 a bad
// command line, 3 the notification log or the screenshot could not be written, 4 --activate
// named no control.
#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/seam.h"
#include "common/unique_handle.h"
#include "testsupport/png_writer.h"
#include "uitoolkit/core/ui_log.h"
#include "uitoolkit/samples/skin_viewer/viewer_options.h"
#include "uitoolkit/window/ui_paint_manager.h"
#include "uitoolkit/window/ui_window_impl_base.h"

namespace SkinViewer {
namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;
using SkinUI::CUiString;
using SkinUI::TNotifyUI;

constexpr UINT kCaptureMessage = WM_APP + 0x51;
enum ExitCode { kClosed = 0, kBadCommandLine = 2, kWriteFailed = 3, kNoSuchControl = 4 };

void PrintError(const std::wstring& text) {
  std::fwprintf(stderr, L"SkinViewer: %ls\n", text.c_str());
  std::fflush(stderr);
}

// The toolkit's log (a hosted control that could not be created, for one) to the error stream.
void PrintLogLine(const wchar_t* line) { PrintError(line); }

std::string ToUtf8(const wchar_t* text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return std::string();
  std::string utf8(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &utf8[0], length, nullptr, nullptr);
  utf8.resize(static_cast<size_t>(length) - 1);
  return utf8;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  vesk::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                             nullptr) &&
         written == bytes.size();
}

// One line per notification, written as it arrives so a reader sees it at once.
class NotifyLog {
 public:
  bool Open(const std::wstring& path) {
    m_file.reset(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(m_file);
  }
  // "<type> <sender name> <wParam> <lParam>"; a sender without a name is written as "-".
  void Write(const TNotifyUI& msg) {
    if (!m_file) return;
    const CUiString name = msg.pSender != nullptr ? msg.pSender->GetName() : CUiString();
    const wchar_t* sender = name.IsEmpty() ? L"-" : name.GetData();
    char numbers[64];
    std::snprintf(numbers, sizeof(numbers), " %lld %lld\r\n",
                  static_cast<long long>(static_cast<LONG_PTR>(msg.wParam)),
                  static_cast<long long>(msg.lParam));
    const std::string line = ToUtf8(msg.sType.GetData()) + " " + ToUtf8(sender) + numbers;
    DWORD written = 0;
    ::WriteFile(m_file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }

 private:
  vesk::UniqueFile m_file;
};

// The window's client area as it paints itself into a bitmap (WM_PRINTCLIENT), so the picture
// does not depend on what covers the window on the screen. Answers the PNG file's bytes, or
// nothing when the picture could not be taken.
std::string CaptureClientAsPng(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  vesk::ScopedWindowDC screen(window);
  return vesk::testing::DrawIntoPng(screen.get(), width, height, [window](HDC memory) {
    ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory),
                   PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    return true;
  });
}

class ViewerWindow : public SkinUI::WindowImplBase {
 public:
  explicit ViewerWindow(const ViewerOptions& options) : m_options(options) {}

  bool OpenNotifyLog() { return m_options.notifyLog.empty() || m_log.Open(m_options.notifyLog); }
  int ExitCode() const { return m_exitCode; }

  // Activates the controls named on the command line, in order, then (with --screenshot) saves
  // the first frame painted after that.
  void Start() {
    for (const std::wstring& name : m_options.activate) {
      CControlUI* control = m_pm.FindControl(name.c_str());
      if (control == nullptr) {
        PrintError(L"no control named " + name);
        Finish(kNoSuchControl);
        return;
      }
      control->Activate();
    }
    if (!m_options.screenshot.empty()) {
      m_captureAfterPaint = true;
      ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
  }

 protected:
  const wchar_t* GetWndClassName() const override { return L"VeskSkinViewer"; }
  CUiString GetSkinDir() override { return CUiString(); }
  CUiString GetSkinXml() override { return CUiString(m_options.skinFile.c_str()); }
  SkinUI::UILIB_RESOURCETYPE GetResourceType() const override {
    return m_options.zipFile.empty() ? SkinUI::UILIB_FILE : SkinUI::UILIB_ZIP;
  }
  CUiString GetZIPFileName() const override { return CUiString(m_options.zipFile.c_str()); }

  void Notify(TNotifyUI& msg) override {
    m_log.Write(msg);
    WindowImplBase::Notify(msg);
  }

  void OnFinalMessage(HWND window) override {
    WindowImplBase::OnFinalMessage(window);
    ::PostQuitMessage(m_exitCode);
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kCaptureMessage) {
      SaveScreenshot();
      return 0;
    }
    const LRESULT result = WindowImplBase::HandleMessage(message, wParam, lParam);
    if (message == WM_PAINT && m_captureAfterPaint) {
      m_captureAfterPaint = false;
      ::PostMessageW(m_hWnd, kCaptureMessage, 0, 0);
    }
    return result;
  }

 private:
  void SaveScreenshot() {
    const std::string png = CaptureClientAsPng(m_hWnd);
    if (png.empty() || !WriteWholeFile(m_options.screenshot, png)) {
      PrintError(L"could not write " + m_options.screenshot);
      Finish(kWriteFailed);
      return;
    }
    Finish(kClosed);
  }

  void Finish(int exitCode) {
    m_exitCode = exitCode;
    ::DestroyWindow(m_hWnd);
  }

  const ViewerOptions& m_options;
  NotifyLog m_log;
  bool m_captureAfterPaint = false;
  int m_exitCode = kClosed;
};

// A skin that cannot be built is reported on the error stream when the viewer runs unattended
// (a message box would wait for nobody).
std::wstring g_skinShown;
int WINAPI ReportSkinFailure(HWND, LPCWSTR, LPCWSTR, UINT) {
  PrintError(L"could not build the skin " + g_skinShown);
  return IDOK;
}

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

int Run(const std::vector<std::wstring>& arguments) {
  ViewerOptions options;
  std::wstring error;
  if (!ParseViewerOptions(arguments, options, error)) {
    PrintError(error);
    PrintError(L"usage: SkinViewer.exe SKIN.xml|SKIN.zip [--xml NAME] [--notify-log FILE] "
               L"[--screenshot FILE] [--activate NAME]...");
    return kBadCommandLine;
  }
  // Skin files name their images relative to the skin's folder.
  std::wstring folder = FullPath(options.skinFolder.empty() ? L"." : options.skinFolder);
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  CPaintManagerUI::SetResourcePath(folder.c_str());
  SkinUI::SetLogSink(&PrintLogLine);

  g_skinShown = folder + (options.zipFile.empty() ? options.skinFile
                                                  : options.zipFile + L" (" + options.skinFile + L")");
  const bool unattended = !options.screenshot.empty() || !options.notifyLog.empty();
  vesk::ScopedOverride<int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT)> quietFailure(
      SkinUI::g_skinFailureMessageBox,
      unattended ? &ReportSkinFailure : SkinUI::g_skinFailureMessageBox.get());

  ViewerWindow window(options);
  if (!window.OpenNotifyLog()) {
    PrintError(L"could not write " + options.notifyLog);
    return kWriteFailed;
  }
  const std::wstring title = L"SkinViewer - " + options.skinFile;
  if (window.Create(nullptr, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0) == nullptr) {
    PrintError(L"could not create the window");
    return 1;
  }
  window.CenterWindow();
  window.ShowWindow(true);
  window.Start();
  CPaintManagerUI::MessageLoop();
  return window.ExitCode();
}

}  // namespace
}  // namespace SkinViewer

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::wstring> arguments;
  for (int i = 1; argv != nullptr && i < count; ++i) arguments.emplace_back(argv[i]);
  ::LocalFree(argv);
  // Screen readers and UI test tools reach the window's accessible objects through COM.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int exitCode = SkinViewer::Run(arguments);
  if (SUCCEEDED(com)) ::CoUninitialize();
  return exitCode;
}
