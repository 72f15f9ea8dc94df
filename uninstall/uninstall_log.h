// The uninstaller's one log: timestamped lines with a level word, appended to
// "vesk_uninstall.log" beside the program and, when asked, to the console.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>

#include "common/unique_handle.h"

namespace vesk::uninstall {

// Severity of an entry; the number is what SetMinimumLevel compares.
enum LogLevel : int {
  kLogDebug = 0,
  kLogInfo = 1,
  kLogWarning = 2,
  kLogError = 3,
};

// "DEBUG", "INFO", "WARNING", "ERROR", or "UNKNOWN" for any other value.
const wchar_t* LogLevelWord(int level);

// "YYYY-MM-DD hh:mm:ss", every field zero-padded, no milliseconds.
[[nodiscard]] std::wstring FormatLogTimestamp(const SYSTEMTIME& time);

// One entry as written: timestamp, blank, "[LEVEL]", blank, message (without the line end).
[[nodiscard]] std::wstring FormatLogLine(const SYSTEMTIME& time, int level, std::wstring_view message);

class UninstallLog {
 public:
  // The process-wide log, created on first use.
  static UninstallLog& Instance();

  UninstallLog() = default;
  UninstallLog(const UninstallLog&) = delete;
  UninstallLog& operator=(const UninstallLog&) = delete;

  void SetMinimumLevel(int level);
  void SetConsoleOutput(bool enabled);
  // On: closes an open file and opens `path` for appending (an empty path means
  // "vesk_uninstall.log" in the current folder). Off: closes the file.
  void SetFileOutput(bool enabled, const std::wstring& path = std::wstring());

  // Writes one line when `level` is not below the minimum level. Every line is on disk when this
  // returns; characters the 8-bit file cannot hold are written as '?', so no line is ever lost.
  void Log(int level, std::wstring_view message);
  void Info(std::wstring_view message) { Log(kLogInfo, message); }
  void Warning(std::wstring_view message) { Log(kLogWarning, message); }
  void Error(std::wstring_view message) { Log(kLogError, message); }

 private:
  void WriteToConsole(const std::wstring& line);

  std::atomic<int> m_minimumLevel{kLogInfo};
  bool m_consoleOutput = false;
  bool m_fileOutput = false;
  std::wstring m_filePath;
  UniqueFile m_file;
  bool m_fileFailed = false;  // the file could not be opened or a write failed
  std::mutex m_lock;
};

// Shorthands for the process-wide log.
inline void LogInfo(std::wstring_view message) { UninstallLog::Instance().Info(message); }
inline void LogWarning(std::wstring_view message) { UninstallLog::Instance().Warning(message); }
inline void LogError(std::wstring_view message) { UninstallLog::Instance().Error(message); }

}  // namespace vesk::uninstall
