// Drives the built VeskSetup.exe from outside: a copy started from a temporary folder as a process
// of its own (under a debug loop that collects its early log lines), its window found on the Xvfb
// screen and used with real input (SendInput). The fixture cleans what an install leaves for the
// real Wine user before and after each test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"
#include "uitoolkit/core/tests/render_test_support.h"

namespace vesk::testing {

extern const wchar_t kProductKey[];
extern const wchar_t kRunKey[];
extern const wchar_t kRunValue[];
// The default install folder while a test runs (see ScopedLocalAppData).
extern const std::wstring kDefaultFolder;

// Points the user's local application data folder at a fixed folder for the test's lifetime.
// The window shows the default install folder below it, which otherwise holds the Wine user's
// name: a fixed folder gives every user and machine the same path field on the screen.
class ScopedLocalAppData {
 public:
  ScopedLocalAppData();
  ~ScopedLocalAppData();
  ScopedLocalAppData(const ScopedLocalAppData&) = delete;
  ScopedLocalAppData& operator=(const ScopedLocalAppData&) = delete;

 private:
  std::vector<RegistryValue> m_saved;
};

size_t CountProcessesNamed(const wchar_t* exeName);

class WindowProgramTest : public ::testing::Test {
 protected:
  WindowProgramTest();
  ~WindowProgramTest() override;
  void SetUp() override;

  // Starts the copy with `arguments` and waits until a shown window of class "VeskSetup" belongs
  // to it (a process of that program whose parent is this test).
  HWND Start(const std::wstring& arguments);
  // A left click (or two in quick succession: a double click) at a client point of the window.
  void Click(POINT client, int times = 1);
  void PressKey(WORD key);
  // The window's client area as it is on the screen; what lies outside the window's region
  // (behind the rounded corners) is painted magenta.
  void Capture(SkinUI::testing::TestCanvas& canvas);
  // Waits for setup to end: its result with the lines it sent to the debugger.
  ProcessResult Finish();
  // The install folder's log "vesk_install.log" without time prefixes, with the folders of this
  // run replaced by <install>, <working> and <desktop>.
  std::vector<std::string> InstallLog() const;
  // Waits until the install log holds `line`.
  bool WaitForLogLine(const std::string& line, DWORD timeoutMs = 60000) const;

  ScopedDesktopFolder m_desktop;
  ScopedLocalAppData m_localAppData;
  ScopedTempFolder m_download{L"download"};
  std::wstring m_setupExe = m_download / L"VeskSetup.exe";
  std::wstring m_working = m_download / L".VeskSetupTemp";
  HWND m_window = nullptr;

 private:
  std::future<ProcessResult> m_run;
};

// The lines of a golden text file next to these tests.
std::vector<std::string> GoldenLines(const std::wstring& name);

}  // namespace vesk::testing
