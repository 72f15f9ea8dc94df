#include "setup/engine/quiet_install.h"

#include "setup/engine/setup_log.h"

namespace vesk {

// TEMPORARY: the quiet road is not built yet; it reports that and changes nothing.
int QuietInstall(const std::wstring& workingFolder, bool isAutoLaunch, bool isKill) {
  (void)isAutoLaunch;
  (void)isKill;
  WriteLog(L"QuietInstall is not available in this build; working folder: " + workingFolder);
  return 0;
}

}  // namespace vesk
