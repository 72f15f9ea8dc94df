#include "setup/engine/setup_log.h"

#include <cwchar>

#include "common/bounded_path.h"
#include "common/log_text.h"
#include "common/product.h"

namespace vesk {

SetupLog& SetupLog::Instance() {
  // Never destroyed: the window road's install threads may still write while the process ends.
  static SetupLog* const log = new SetupLog;
  return *log;
}

std::wstring FormatLogPrefix(const SYSTEMTIME& time) {
  wchar_t buffer[100];
  swprintf(buffer, 100, L"%04d-%02d-%02d %02d:%02d:%02d.%03d ", time.wYear, time.wMonth, time.wDay,
           time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
  return buffer;
}

void SetupLog::Write(std::wstring_view message) {
  std::wstring debugLine(message);
  debugLine += L'\n';
  OutputDebugStringW(debugLine.c_str());

  if (!m_opened.load()) return;
  std::lock_guard<SlimLock> guard(m_lock);
  if (!m_file.valid()) return;

  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string bytes;
  bytes.reserve(message.size() + 32);
  AppendLogBytes(bytes, FormatLogPrefix(now));
  AppendLogBytes(bytes, message);
  bytes += "\r\n";
  // One unbuffered write per line: the line is in the file when Write returns.
  DWORD written = 0;
  WriteFile(m_file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void SetupLog::Open(const std::wstring& installFolder) {
  m_fileName = L"vesk_install.log";
  std::optional<std::wstring> path = JoinPath(installFolder, m_fileName);
  if (!path) {
    Write(L"Log file path too long: " + installFolder + L"\\" + m_fileName);
    m_opened = true;
    return;
  }
  {
    // An already open file stays open and keeps its lines: only the first open truncates.
    std::lock_guard<SlimLock> guard(m_lock);
    if (!m_file.valid()) {
      m_file.reset(CreateFileW(path->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
  }
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_ALL_ACCESS, key.put()) == ERROR_SUCCESS) {
    RegSetValueExW(key.get(), kLogPathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(path->c_str()),
                   static_cast<DWORD>((path->size() + 1) * sizeof(wchar_t)));
  }
  m_opened = true;
}

void SetupLog::Close() {
  std::lock_guard<SlimLock> guard(m_lock);
  m_file.reset();
  m_opened = false;
}

void WriteLog(std::wstring_view message) { SetupLog::Instance().Write(message); }

void OpenLogFile(const std::wstring& installFolder) { SetupLog::Instance().Open(installFolder); }

}  // namespace vesk
