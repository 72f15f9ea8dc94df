// Routes the process-wide setup log into a temporary folder for one test and reads it back.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/setup_log.h"
#include "testsupport/test_support.h"

namespace vesk::testing {

class LogCapture {
 public:
  LogCapture() {
    SetupLog::Instance().Close();
    SetupLog::Instance().Open(folder_.path());
  }
  ~LogCapture() { SetupLog::Instance().Close(); }

  // The messages logged so far, without their 24-character time prefix.
  std::vector<std::string> Messages() const {
    std::vector<std::string> messages;
    for (const std::string& line : SplitLines(ReadFileBytes(folder_ / L"vesk_install.log"))) {
      messages.push_back(line.size() >= 24 ? line.substr(24) : line);
    }
    return messages;
  }

 private:
  ScopedTempFolder folder_{L"log"};
};

}  // namespace vesk::testing
