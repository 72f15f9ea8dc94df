#include "setup/window/tests/window_program_driver.h"

#include <shlobj.h>

#include "common/process_list.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/live_window_support.h"

namespace vesk::testing {

const wchar_t kProductKey[] = L"Software\\Vesk.helm";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"vesk.helm";
namespace {
const wchar_t kLocalAppData[] = L"C:\\vesk_window_test\\AppData\\Local";
// The screenshot goldens of the window program tests.
const bool kFoldersNamed = SkinUI::testing::SetRenderTestFolders(VESK_GOLDEN_DIR, VESK_GOLDEN_DIR);
}  // namespace
const std::wstring kDefaultFolder = std::wstring(kLocalAppData) + L"\\vesk.helm\\Application";

namespace {

const wchar_t* const kShellFolderKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
const wchar_t kLocalAppDataValue[] = L"Local AppData";

void DeleteUserKey(const wchar_t* key) { RegDeleteTreeW(HKEY_CURRENT_USER, key); }

void DeleteUserValue(const wchar_t* key, const wchar_t* name) {
  UniqueRegKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_SET_VALUE, opened.put()) == ERROR_SUCCESS) {
    RegDeleteValueW(opened.get(), name);
  }
}

// What an install leaves for the user: the install folders, the product key, the protocol, the
// uninstall entry, the auto-start entry; and its programs still running.
void RemoveInstallation() {
  const wchar_t* const programs[] = {L"VeskSetup.exe", L"mini_installer.exe", L"vesk.helm.exe"};
  for (const wchar_t* name : programs) {
    for (DWORD id : FindProcessesByName(name, NameMatch::kIgnoringCase).ids) {
      TerminateProcessById(id);
    }
  }
  WaitUntil(
      [&] {
        for (const wchar_t* name : programs) {
          if (CountProcessesNamed(name) != 0) return false;
        }
        return true;
      },
      10000);
  RemoveTree(std::wstring(kLocalAppData) + L"\\vesk.helm");
  DeleteUserKey(kProductKey);
  DeleteUserKey(L"SOFTWARE\\Classes\\veskhelm");
  DeleteUserKey(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm");
  DeleteUserValue(kRunKey, kRunValue);
}

// The process of the window when this process started it from `exe`, else 0.
DWORD ChildProcessOf(HWND window, const std::wstring& exe) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  std::vector<ProcessEntry> processes;
  if (ListProcesses(processes) != ProcessListStatus::kListed) return 0;
  for (const ProcessEntry& process : processes) {
    if (process.id == id && process.parentId == GetCurrentProcessId() &&
        CompareStringOrdinal(ProcessImagePath(id).c_str(), -1, exe.c_str(), -1, TRUE) ==
            CSTR_EQUAL) {
      return id;
    }
  }
  return 0;
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  for (size_t at = 0; !what.empty() && (at = text.find(what, at)) != std::string::npos;
       at += with.size()) {
    text.replace(at, what.size(), with);
  }
}

}  // namespace

ScopedLocalAppData::ScopedLocalAppData() {
  SHCreateDirectoryExW(nullptr, kLocalAppData, nullptr);
  for (const wchar_t* key : kShellFolderKeys) {
    m_saved.push_back(ReadRegistryValue(HKEY_CURRENT_USER, key, kLocalAppDataValue));
    WriteUserString(key, kLocalAppDataValue, kLocalAppData);
  }
}

ScopedLocalAppData::~ScopedLocalAppData() {
  for (size_t i = 0; i < m_saved.size(); ++i) {
    const RegistryValue& value = m_saved[i];
    if (value.exists) {
      WriteUserValue(kShellFolderKeys[i], kLocalAppDataValue, value.type, value.data.data(),
                     static_cast<DWORD>(value.data.size()));
    } else {
      DeleteUserValue(kShellFolderKeys[i], kLocalAppDataValue);
    }
  }
  RemoveTree(L"C:\\vesk_window_test");
}

size_t CountProcessesNamed(const wchar_t* exeName) {
  return FindProcessesByName(exeName, NameMatch::kIgnoringCase).ids.size();
}

WindowProgramTest::WindowProgramTest() { RemoveInstallation(); }

WindowProgramTest::~WindowProgramTest() {
  RemoveInstallation();
  if (m_run.valid()) m_run.wait();
}

void WindowProgramTest::SetUp() {
  ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, m_setupExe.c_str(), FALSE));
}

HWND WindowProgramTest::Start(const std::wstring& arguments) {
  RunOptions options;
  options.captureDebugOutput = true;
  options.timeoutMs = 180000;
  m_run = std::async(std::launch::async, RunProcess, L"\"" + m_setupExe + L"\" " + arguments,
                    options);
  m_window = nullptr;
  WaitUntil(
      [&] {
        HWND found = FindWindowW(L"VeskSetup", nullptr);
        if (found == nullptr || !IsWindowVisible(found) || ChildProcessOf(found, m_setupExe) == 0) {
          return false;
        }
        m_window = found;
        return true;
      },
      60000);
  Sleep(500);  // its first paint
  return m_window;
}

void WindowProgramTest::Click(POINT client, int times) {
  ClientToScreen(m_window, &client);
  SkinUI::testing::MouseMoveToScreen(client);
  for (int i = 0; i < times; ++i) {
    SkinUI::testing::MouseButton(true);
    SkinUI::testing::MouseButton(false);
  }
  Sleep(300);
}

void WindowProgramTest::PressKey(WORD key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  Sleep(300);
}

void WindowProgramTest::Capture(SkinUI::testing::TestCanvas& canvas) {
  SkinUI::testing::CaptureClient(m_window, canvas);
  UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  const bool shaped = GetWindowRgn(m_window, region.get()) != ERROR;
  for (int y = 0; y < canvas.height(); ++y) {
    for (int x = 0; x < canvas.width(); ++x) {
      if (!shaped || !PtInRegion(region.get(), x, y)) SetPixel(canvas.dc(), x, y, RGB(255, 0, 255));
    }
  }
  GdiFlush();
}

ProcessResult WindowProgramTest::Finish() {
  ProcessResult result = m_run.get();
  EXPECT_TRUE(result.started);
  EXPECT_TRUE(result.finished);
  return result;
}

std::vector<std::string> WindowProgramTest::InstallLog() const {
  std::vector<std::string> lines = LogMessagesOf(kDefaultFolder + L"\\vesk_install.log");
  for (std::string& line : lines) {
    ReplaceAll(line, Narrow(m_working), "<working>");
    ReplaceAll(line, Narrow(kDefaultFolder), "<install>");
    ReplaceAll(line, Narrow(m_desktop.path()), "<desktop>");
  }
  return lines;
}

bool WindowProgramTest::WaitForLogLine(const std::string& line, DWORD timeoutMs) const {
  return WaitUntil([&] { return IndexOf(InstallLog(), line) >= 0; }, timeoutMs);
}

std::vector<std::string> GoldenLines(const std::wstring& name) {
  std::vector<std::string> lines;
  std::string text = ReadFileBytes(std::wstring(VESK_GOLDEN_DIR) + L"\\" + name);
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
  }
  return lines;
}

}  // namespace vesk::testing
