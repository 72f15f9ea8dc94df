// Figures of the uninstaller's deletion roads and log, each against a plain baseline measured in
// the same run: medians of several runs.
//   cmake --build <build> --target uninstall_bench
//   cmake/wine-run.sh <build> <build>/bin/uninstall_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/test_support.h"
#include "uninstall/deletion.h"
#include "uninstall/multi_process_deleter.h"
#include "uninstall/tests/uninstall_test_support.h"
#include "uninstall/uninstall_log.h"

namespace {

using vesk::testing::ScopedTempFolder;
using vesk::uninstall::UninstallLog;

// Median in milliseconds of `runs` timings of `measured`, each after `prepare`.
double MedianMs(int runs, const std::function<void()>& prepare,
                const std::function<void()>& measured) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    auto start = std::chrono::steady_clock::now();
    measured();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void MakeFiles(const std::wstring& root, int folders, int filesPerFolder) {
  CreateDirectoryW(root.c_str(), nullptr);
  for (int f = 0; f < folders; ++f) {
    std::wstring folder = root + L"\\folder" + std::to_wstring(f);
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int i = 0; i < filesPerFolder; ++i) {
      vesk::testing::WriteFileBytes(folder + L"\\file" + std::to_wstring(i) + L".dll",
                                    std::string(4096, 'x'));
    }
  }
}

void PlainDelete(const std::wstring& path) {
  WIN32_FIND_DATAW data;
  vesk::UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &data));
  if (find) {
    do {
      std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = path + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        PlainDelete(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find.get(), &data));
  }
  find.reset();
  RemoveDirectoryW(path.c_str());
}

void Report(const char* what, double measured, const char* baselineName, double baseline) {
  std::printf("%-58s %9.2f ms   %-28s %9.2f ms   ratio %6.2f\n", what, measured, baselineName,
              baseline, baseline > 0 ? measured / baseline : 0.0);
}

}  // namespace

int wmain() {
  ScopedTempFolder folder(L"ubench");
  UninstallLog::Instance().SetFileOutput(true, folder / L"bench.log");

  // 1. A folder tree of 400 files: the logged recursive deletion against a plain one.
  std::wstring tree = folder / L"tree";
  double recursive = MedianMs(5, [&] { MakeFiles(tree, 20, 20); },
                              [&] { vesk::uninstall::DeleteDirectoryRecursive(tree); });
  double plain = MedianMs(5, [&] { MakeFiles(tree, 20, 20); }, [&] { PlainDelete(tree); });
  Report("DeleteDirectoryRecursive, 20 folders x 20 files", recursive, "plain deletion", plain);

  // 2. The log: 10,000 lines against writing the same bytes straight to a file.
  std::wstring rawPath = folder / L"raw.log";
  double logged = MedianMs(3, [] {}, [] {
    for (int i = 0; i < 10000; ++i) {
      UninstallLog::Instance().Info(L"Successfully deleted file: C:\\Users\\ann\\AppData\\Local\\x.dll");
    }
  });
  double raw = MedianMs(3, [] {}, [&] {
    vesk::UniqueFile file(CreateFileW(rawPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string line =
        "2026-01-01 00:00:00 [INFO] Successfully deleted file: C:\\Users\\ann\\AppData\\Local\\x.dll\r\n";
    for (int i = 0; i < 10000; ++i) {
      DWORD written = 0;
      WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
  });
  Report("UninstallLog, 10,000 lines", logged, "raw WriteFile per line", raw);

  // 3. Child-process deletion of one file against DeleteFileW.
  std::wstring single = folder / L"single.dll";
  vesk::uninstall::MultiProcessDeleter deleter;
  double child = MedianMs(5, [&] { vesk::testing::WriteFileBytes(single, "x"); },
                          [&] { deleter.RunDeletionCommands(vesk::uninstall::CmdDeleteFileCommand(single),
                                                            vesk::uninstall::PowerShellDeleteFileCommand(single),
                                                            single, 5000, L"delete file"); });
  double direct = MedianMs(5, [&] { vesk::testing::WriteFileBytes(single, "x"); },
                           [&] { DeleteFileW(single.c_str()); });
  Report("cmd.exe deletion of one file, verified", child, "DeleteFileW", direct);

  // 4. A locked file: all five move attempts and their pauses, then the reboot request.
  std::wstring locked = folder / L"locked.dll";
  vesk::UniqueFile holder;
  double lockedMs = MedianMs(3, [&] {
    holder.reset();
    vesk::testing::WriteFileBytes(locked, "x");
    holder.reset(CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  }, [&] { vesk::uninstall::MoveToTempAndScheduleDelete(locked); });
  holder.reset();
  Report("MoveToTempAndScheduleDelete, file held open", lockedMs, "pauses alone (2000 ms)", 2000.0);

  UninstallLog::Instance().SetFileOutput(false);
  vesk::uninstall::testing::ForgetPendingRebootOperations(folder.path());
  return 0;
}
