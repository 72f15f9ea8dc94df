// Helpers of the install-step tests: a registry key's full contents, a helper program started
// under a product program's name, and a hidden window that collects the monitors' messages.
#pragma once

#include <windows.h>

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "common/process_list.h"
#include "common/seam.h"
#include "common/unique_handle.h"
#include "setup/engine/payload_integrity.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk::testing {

// Lets every payload file pass the check made before it is used, for tests whose stand-in
// programs have no recorded digest.
class TrustPayloadFiles {
 private:
  static bool Trust(const std::wstring&, int) { return true; }
  ScopedOverride<PayloadFileCheck> m_trust{g_payloadFileMatchesRecord, &Trust};
};

// The marker library (`markerLibrary`, which leaves "<its path>.loaded" behind when loaded)
// planted in `folder` under the names of system libraries that the programs load while they run
// and that Windows does not always take from the system folder, with Wine told to prefer such
// files for the value's lifetime. ("version" is left out: Wine's user32 loads it as a program
// starts, where Windows takes it from its known libraries.)
class ScopedPlantedLibraries {
 public:
  ScopedPlantedLibraries(const std::wstring& folder, const std::wstring& markerLibrary);
  // The markers left in the folder: the planted libraries that something loaded.
  std::vector<std::string> Loaded() const;

 private:
  static std::wstring Overrides(const std::wstring& folder, const std::wstring& markerLibrary);
  std::wstring m_folder;
  ScopedEnvironmentVariable m_preferPlanted;
};

// Every value of a key: name -> type and data bytes as stored.
std::map<std::wstring, RegistryValue> ReadAllValues(HKEY root, const std::wstring& key);

// A REG_SZ value as stored: the text and its terminating null.
RegistryValue StringValue(const std::wstring& text);
RegistryValue DwordValue(DWORD number);

// Registry values compare by presence, type and bytes.
bool operator==(const RegistryValue& a, const RegistryValue& b);
std::ostream& operator<<(std::ostream& out, const RegistryValue& value);

// A hidden top-level window owned by the calling thread that records every message in the
// range WM_USER..WM_APP+0xFF it receives, in order.
class MessageRecorder {
 public:
  struct Received {
    UINT message;
    WPARAM wParam;
    ULONGLONG tick;
  };

  MessageRecorder();
  ~MessageRecorder();
  MessageRecorder(const MessageRecorder&) = delete;
  MessageRecorder& operator=(const MessageRecorder&) = delete;

  HWND window() const { return m_window; }
  // Runs the thread's message loop until `message` has arrived or `timeoutMs` has passed.
  bool PumpUntil(UINT message, DWORD timeoutMs);
  // Called on the window's thread when a recorded message arrives, before it is recorded.
  void OnMessage(std::function<void(UINT, WPARAM)> handler) { m_handler = std::move(handler); }
  const std::vector<Received>& received() const { return m_received; }
  // wParam of every received message of that kind.
  std::vector<int> ValuesOf(UINT message) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND m_window = nullptr;
  std::function<void(UINT, WPARAM)> m_handler;
  std::vector<Received> m_received;
};

// Waits until no process started by this process (or by those, and so on) runs any more; after
// `timeoutMs` the ones left are terminated. True when they all ended by themselves. Each
// descendant is held open from the moment it is seen, and a process created before the parent
// its parent id names is not counted, so a reused process id never makes it wait on a stranger.
bool WaitForDescendantProcesses(DWORD timeoutMs);

// The process list the descendant wait reads; tests replace it to show a process whose parent id
// was reused, which Wine cannot be made to produce on demand.
extern Seam<ProcessListStatus (*)(std::vector<ProcessEntry>&)> g_listProcessesForDescendantWait;

// The lines of a log file after the 24-character time prefix of each.
std::vector<std::string> LogMessagesOf(const std::wstring& logFile);

// True when `lines` holds `expected` as a subsequence (same order, gaps allowed).
bool ContainsInOrder(const std::vector<std::string>& lines,
                     const std::vector<std::string>& expected);

// Index of the first line equal to `line`, or -1.
int IndexOf(const std::vector<std::string>& lines, const std::string& line);

// Polls until `condition` holds or `timeoutMs` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace vesk::testing
