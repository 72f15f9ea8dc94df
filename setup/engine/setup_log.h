// The setup program's one log: every line goes to the debugger output at once and, once an
// install folder is known, to "vesk_install.log" in it with a local-time prefix.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "common/slim_lock.h"
#include "common/unique_handle.h"

namespace vesk {

class SetupLog {
 public:
  // The process-wide log, created on first use.
  static SetupLog& Instance();

  // Callable from any thread at any time; a line that cannot be written to the file is lost
  // without a report, but the debugger output always gets it.
  void Write(std::wstring_view message);

  // Opens (truncating) "vesk_install.log" in the folder unless a file is already open, and records
  // its path in the product key when that key exists.
  void Open(const std::wstring& installFolder);

  // Closes the file and returns to logging into the debugger output only, as at start-up.
  // Process exit does this; tests use it to begin a fresh log.
  void Close();

 private:
  std::wstring m_fileName;
  SlimLock m_lock;
  UniqueFile m_file;
  std::atomic<bool> m_opened{false};
};

// The log entry points used throughout setup.
void WriteLog(std::wstring_view message);
void OpenLogFile(const std::wstring& installFolder);

// The 24-character line prefix "YYYY-MM-DD hh:mm:ss.mmm " for a local time.
[[nodiscard]] std::wstring FormatLogPrefix(const SYSTEMTIME& time);

}  // namespace vesk
