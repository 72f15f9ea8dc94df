#include "setup/window/setup_window_road.h"

#include "setup/engine/setup_log.h"

namespace vesk {

// TEMPORARY: the setup window is not built yet; the road ends right after the preparation.
int RunSetupWindow(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate) {
  (void)instance;
  (void)isUpdate;
  WriteLog(L"Setup window is not available in this build; working folder: " + workingFolder);
  return 0;
}

}  // namespace vesk
