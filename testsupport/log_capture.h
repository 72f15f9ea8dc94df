// Routes one of the programs' process-wide logs into a file of a temporary folder for one test,
// and reads its lines back without their time-stamp prefix. `LogCapture` is the setup log's;
// the uninstaller's tests derive their own from `LogFileCapture`.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/setup_log.h"
#include "testsupport/test_support.h"

namespace vesk::testing {

class LogFileCapture {
 public:
  // Routes the log into the file of that name in a temporary folder: `open` is given that file's
  // folder and full path; `close` ends the routing. `prefixLength` characters of time stamp
  // start each line.
  using Open = void (*)(const std::wstring& folder, const std::wstring& path);
  using Close = void (*)();
  LogFileCapture(const wchar_t* fileName, size_t prefixLength, Open open, Close close)
      : m_path(m_folder / fileName), m_prefixLength(prefixLength), m_close(close) {
    open(m_folder.path(), m_path);
  }
  ~LogFileCapture() { m_close(); }
  LogFileCapture(const LogFileCapture&) = delete;
  LogFileCapture& operator=(const LogFileCapture&) = delete;

  // The lines logged so far, without their time-stamp prefix.
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const std::string& line : SplitLines(ReadFileBytes(m_path))) {
      messages.push_back(line.size() >= m_prefixLength ? line.substr(m_prefixLength) : line);
    }
    return messages;
  }
  // Index of the first line equal to `message` at or after `from`; -1 when there is none.
  int IndexOf(const std::string& message, int from = 0) const {
    const std::vector<std::string> messages = Messages();
    for (size_t i = static_cast<size_t>(from < 0 ? 0 : from); i < messages.size(); ++i) {
      if (messages[i] == message) return static_cast<int>(i);
    }
    return -1;
  }
  bool Contains(const std::string& message) const { return IndexOf(message) >= 0; }
  const std::wstring& path() const { return m_path; }

 private:
  ScopedTempFolder m_folder{L"log"};
  std::wstring m_path;
  size_t m_prefixLength;
  Close m_close;
};

// The setup log ("vesk_install.log", 24-character prefix), fresh for one test.
class LogCapture : public LogFileCapture {
 public:
  LogCapture()
      : LogFileCapture(
            L"vesk_install.log", 24,
            [](const std::wstring& folder, const std::wstring&) {
              SetupLog::Instance().Close();
              SetupLog::Instance().Open(folder);
            },
            [] { SetupLog::Instance().Close(); }) {}
};

}  // namespace vesk::testing
