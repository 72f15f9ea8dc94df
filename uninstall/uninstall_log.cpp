#include "uninstall/uninstall_log.h"

#include <cwchar>

#include "common/log_text.h"
#include "common/product.h"

namespace vesk::uninstall {

const wchar_t* LogLevelWord(int level) {
  switch (level) {
    case kLogDebug: return L"DEBUG";
    case kLogInfo: return L"INFO";
    case kLogWarning: return L"WARNING";
    case kLogError: return L"ERROR";
    default: return L"UNKNOWN";
  }
}

std::wstring FormatLogTimestamp(const SYSTEMTIME& time) {
  wchar_t buffer[64];
  swprintf(buffer, 64, L"%04d-%02d-%02d %02d:%02d:%02d", time.wYear, time.wMonth, time.wDay,
           time.wHour, time.wMinute, time.wSecond);
  return buffer;
}

std::wstring FormatLogLine(const SYSTEMTIME& time, int level, std::wstring_view message) {
  std::wstring line = FormatLogTimestamp(time);
  line += L" [";
  line += LogLevelWord(level);
  line += L"] ";
  line += message;
  return line;
}

UninstallLog& UninstallLog::Instance() {
  static UninstallLog log;
  return log;
}

void UninstallLog::SetMinimumLevel(int level) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_minimumLevel = level;
}

void UninstallLog::SetConsoleOutput(bool enabled) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_consoleOutput = enabled;
}

void UninstallLog::SetFileOutput(bool enabled, const std::wstring& path) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_fileOutput = enabled;
  m_file.reset();
  m_fileFailed = false;
  if (!enabled) return;
  m_filePath = path.empty() ? std::wstring(kUninstallLogFileName) : path;
  // Append-only access: every write lands at the current end of the file, also when another
  // program writes to it meanwhile. Readers and writers are never locked out.
  m_file.reset(CreateFileW(m_filePath.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  m_fileFailed = !m_file.valid();
}

void UninstallLog::WriteToConsole(const std::wstring& line) {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode)) {
    std::wstring text = line + L"\n";
    DWORD written = 0;
    WriteConsoleW(output, text.c_str(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  std::string bytes;
  AppendLogBytes(bytes, line);
  bytes += "\r\n";
  DWORD written = 0;
  WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(output);
}

void UninstallLog::Log(int level, std::wstring_view message) {
  if (level < m_minimumLevel.load()) return;
  std::lock_guard<std::mutex> guard(m_lock);
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::wstring line = FormatLogLine(now, level, message);
  if (m_consoleOutput) WriteToConsole(line);
  if (!m_fileOutput || m_fileFailed || !m_file.valid()) return;
  std::string bytes;
  bytes.reserve(line.size() + 2);
  AppendLogBytes(bytes, line);
  bytes += "\r\n";
  // One unbuffered write per line: the line is in the file when Log returns.
  DWORD written = 0;
  if (!WriteFile(m_file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    m_fileFailed = true;
  }
}

}  // namespace vesk::uninstall
