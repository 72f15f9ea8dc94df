// Figures of the whole setup program carrying a product-sized payload: a VeskSetup.exe linked like
// the shipped one, whose mini_installer.exe is the stand-in installer padded to 230 MiB, started as
// a user starts it. Medians of 7 rounds (or --rounds) after one warm-up round:
//   - start to extracted: from CreateProcessW of "VeskSetup.exe" (no arguments) until setup has
//     reported its last payload row on the debugger output (read through a debug loop; the
//     process is then ended, so the road after the extraction is not measured);
//   - whole quiet install: "VeskSetup.exe quiet" from CreateProcessW until it has ended, a first
//     install of the stand-in product for the Wine user; also without the installer's own run,
//     which setup's log times (from "LaunchMiniInstaller installerPath" to its exit code);
//   - start to window shown: from CreateProcessW of "VeskSetup.exe" (no arguments) until its
//     setup window is visible (polled every millisecond); the window is then closed;
//   - setup's peak private memory in all its runs: private bytes of GetProcessMemoryInfo, sampled
//     every millisecond (Windows keeps the peak, Wine reports only the current figure).
// Printed once: the program's size without its payload (the file less its data resources).
// Each is set against the same round's copy: a child process (this program with "copy") that
// copies the same payload files with CopyFileW, so a process start and the bytes, timed
// alternating with setup.
//   cmake --build <build> --target setup_program_bench
//   cmake/wine-run.sh <build> <build>/bin/setup_program_bench.exe [verbose] [timeline]
//       [--setup <other VeskSetup.exe>] [--rounds <count>]
// It installs the stand-in for the prefix's user and removes that installation again at the end.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "setup/engine/payload.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/payload_manifest.h"
#include "testsupport/test_support.h"

namespace {

using vesk::testing::kManifest;
using ManifestItem = vesk::testing::ManifestEntry;


using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::wstring WindowsPath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }

double FileMegabytes(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow) / 1048576.0;
}

// Raises `peak` to the process's private bytes now and to their recorded peak. Windows reports
// its private commit in PrivateUsage and PagefileUsage and keeps the peak; Wine leaves
// PrivateUsage at 0 and reports the private pages present now in both pagefile fields (memory
// committed but never touched does not count there), so the caller samples often.
void SamplePrivateBytes(HANDLE process, SIZE_T& peak) {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    peak = std::max({peak, counters.PrivateUsage, counters.PagefileUsage,
                     counters.PeakPagefileUsage});
  }
}

struct Run {
  bool completed = false;  // ended (or reached the awaited line) within the time limit
  DWORD exitCode = 0;
  double milliseconds = 0;
  double peakPrivateMegabytes = 0;
};

constexpr DWORD kTimeLimitMs = 300000;
// The window road waits this long after ending the running application, before the window shows.
constexpr double kPauseAfterTerminatingMs = 1000;

bool Start(const std::wstring& commandLine, DWORD flags, vesk::UniqueKernelHandle& process) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION information = {};
  std::wstring mutableCommandLine = commandLine;
  if (!CreateProcessW(nullptr, &mutableCommandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                      nullptr, &startup, &information)) {
    return false;
  }
  process.reset(information.hProcess);
  vesk::UniqueKernelHandle thread(information.hThread);
  return true;
}

// Starts the command line and waits for its end, sampling its private bytes every millisecond.
Run RunUntilExit(const std::wstring& commandLine) {
  Run run;
  SIZE_T peak = 0;
  const Clock::time_point start = Clock::now();
  vesk::UniqueKernelHandle process;
  if (!Start(commandLine, 0, process)) return run;
  while (WaitForSingleObject(process.get(), 1) == WAIT_TIMEOUT) {
    SamplePrivateBytes(process.get(), peak);
    if (MillisecondsSince(start) > kTimeLimitMs) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), INFINITE);
      return run;
    }
  }
  run.milliseconds = MillisecondsSince(start);
  SamplePrivateBytes(process.get(), peak);
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.completed = true;
  run.peakPrivateMegabytes = peak / 1048576.0;
  return run;
}

// True for the line setup writes when it has finished with one payload row, written or not.
bool IsPayloadRowOutcome(const std::wstring& line) {
  const std::wstring extracted = L" extracted successfully!";
  return line.rfind(L"Failed to extract ", 0) == 0 ||
         (line.size() > extracted.size() &&
          line.compare(line.size() - extracted.size(), extracted.size(), extracted) == 0);
}

// The visible setup window of the process, or null.
HWND ShownSetupWindow(DWORD processId) {
  for (HWND window = FindWindowExW(nullptr, nullptr, L"VeskSetup", nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, L"VeskSetup", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// Starts the command line under a debug loop and hands each line the program sends to the
// debugger, with the milliseconds since the start, to `onLine`; when that returns true the clock
// stops and the process is ended (whatever it would do next is not measured). When the setup
// window shows, `onLine` gets the line "(window shown)" and the window is closed.
template <typename OnLine>
Run RunDebugged(const std::wstring& commandLine, OnLine onLine) {
  Run run;
  SIZE_T peak = 0;
  const Clock::time_point start = Clock::now();
  vesk::UniqueKernelHandle process;
  if (!Start(commandLine, DEBUG_ONLY_THIS_PROCESS, process)) return run;
  bool terminated = false;
  bool windowShown = false;
  for (;;) {
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, 1)) {
      HWND window = windowShown || terminated ? nullptr : ShownSetupWindow(GetProcessId(process.get()));
      if (window != nullptr) {
        windowShown = true;
        onLine(L"(window shown)", MillisecondsSince(start));
        PostMessageW(window, WM_CLOSE, 0, 0);
      }
      if (!terminated) SamplePrivateBytes(process.get(), peak);
      if (!terminated && MillisecondsSince(start) > kTimeLimitMs) {
        TerminateProcess(process.get(), 1);
        terminated = true;
      }
      continue;
    }
    DWORD continueStatus = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        vesk::UniqueKernelHandle(event.u.CreateProcessInfo.hFile).reset();
        break;
      case LOAD_DLL_DEBUG_EVENT:
        vesk::UniqueKernelHandle(event.u.LoadDll.hFile).reset();
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        if (!terminated && onLine(vesk::testing::ReadDebugString(process.get(), event.u.DebugString),
                                  MillisecondsSince(start))) {
          run.milliseconds = MillisecondsSince(start);
          SamplePrivateBytes(process.get(), peak);
          run.completed = true;
          TerminateProcess(process.get(), 0);
          terminated = true;
        }
        break;
      case EXCEPTION_DEBUG_EVENT:
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT:
        if (!terminated) {
          run.milliseconds = MillisecondsSince(start);
          run.exitCode = event.u.ExitProcess.dwExitCode;
        }
        break;
      default:
        break;
    }
    const bool exited = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    if (exited) break;
  }
  WaitForSingleObject(process.get(), INFINITE);
  run.peakPrivateMegabytes = peak / 1048576.0;
  return run;
}

// Times the start until setup has reported every payload row.
Run RunUntilExtracted(const std::wstring& commandLine) {
  size_t rowsDone = 0;
  return RunDebugged(commandLine, [&](const std::wstring& line, double) {
    return IsPayloadRowOutcome(line) && ++rowsDone == vesk::kPayloadItemCount;
  });
}

// Times the start until the setup window shows, then closes the window and waits for the end.
Run RunUntilWindowShown(const std::wstring& commandLine) {
  Run run;
  SIZE_T peak = 0;
  const Clock::time_point start = Clock::now();
  vesk::UniqueKernelHandle process;
  if (!Start(commandLine, 0, process)) return run;
  const DWORD processId = GetProcessId(process.get());
  HWND window = nullptr;
  while ((window = ShownSetupWindow(processId)) == nullptr) {
    if (WaitForSingleObject(process.get(), 1) != WAIT_TIMEOUT ||
        MillisecondsSince(start) > kTimeLimitMs) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), INFINITE);
      return run;
    }
    SamplePrivateBytes(process.get(), peak);
  }
  run.milliseconds = MillisecondsSince(start);
  SamplePrivateBytes(process.get(), peak);
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    WaitForSingleObject(process.get(), INFINITE);
    return run;
  }
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.completed = true;
  run.peakPrivateMegabytes = peak / 1048576.0;
  return run;
}

BOOL CALLBACK AddResourceSize(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR total) {
  HRSRC resource = FindResourceW(module, name, type);
  if (resource != nullptr) *reinterpret_cast<double*>(total) += SizeofResource(module, resource);
  return TRUE;
}

// The program's file size less its data resources (the payload items and their digests), in KiB.
double KilobytesWithoutPayload(const std::wstring& program) {
  vesk::UniqueModule module(LoadLibraryExW(program.c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  if (!module) return -1;
  double payloadBytes = 0;
  EnumResourceNamesW(module.get(), RT_RCDATA, &AddResourceSize,
                     reinterpret_cast<LONG_PTR>(&payloadBytes));
  return (FileMegabytes(program) * 1048576.0 - payloadBytes) / 1024.0;
}

// Prints every line of one run with its time since the start: where the time goes.
void PrintTimeline(const std::wstring& commandLine) {
  double previous = 0;
  Run run = RunDebugged(commandLine, [&](const std::wstring& line, double milliseconds) {
    std::printf("%8.1f ms %+7.1f  %s\n", milliseconds, milliseconds - previous,
                vesk::testing::Narrow(line).c_str());
    previous = milliseconds;
    return false;
  });
  std::printf("%8.1f ms %+7.1f  (ended with %lu; peak private %.1f MB)\n", run.milliseconds,
              run.milliseconds - previous, run.exitCode, run.peakPrivateMegabytes);
}

// The baseline child: copies every payload file into the folder; 0 when all were copied.
int CopyPayload(const std::wstring& folder) {
  int failed = 0;
  for (const ManifestItem& item : kManifest) {
    if (!CopyFileW(item.source, (folder + L"\\" + item.name).c_str(), FALSE)) ++failed;
  }
  return failed == 0 ? 0 : 1;
}

std::wstring LocalAppData() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

// Everything a quiet install leaves for the Wine user, so that every timed install is a first one.
void RemoveInstallation() {
  vesk::testing::RemoveTree(LocalAppData() + L"\\vesk.helm");
  const wchar_t* keys[] = {L"Software\\Vesk.helm", L"SOFTWARE\\Classes\\veskhelm",
                           L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm"};
  for (const wchar_t* key : keys) {
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
  }
}

std::wstring InstallLogPath() {
  return LocalAppData() + L"\\vesk.helm\\Application\\vesk_install.log";
}

// Milliseconds of the day of a setup log line ("YYYY-MM-DD HH:MM:SS.mmm message"); -1 when the
// line has no such prefix.
double LogLineMilliseconds(const std::string& line) {
  int hours = 0, minutes = 0, seconds = 0, milliseconds = 0;
  if (line.size() < 24 || std::sscanf(line.c_str() + 11, "%2d:%2d:%2d.%3d", &hours, &minutes,
                                      &seconds, &milliseconds) != 4) {
    return -1;
  }
  return ((hours * 60.0 + minutes) * 60.0 + seconds) * 1000.0 + milliseconds;
}

// How long the installer ran by setup's own log: from the line setup writes before starting it to
// the line that reports its exit code. -1 when the log does not hold both.
double InstallerRunMilliseconds(const std::wstring& logPath) {
  double started = -1;
  double ended = -1;
  for (const std::string& line :
       vesk::testing::SplitLines(vesk::testing::ReadFileBytes(logPath))) {
    if (line.find("LaunchMiniInstaller installerPath: ") != std::string::npos) {
      started = LogLineMilliseconds(line);
    } else if (line.find("mini_installer.exe exited with code: ") != std::string::npos) {
      ended = LogLineMilliseconds(line);
    }
  }
  if (started < 0 || ended < 0) return -1;
  if (ended < started) ended += 24 * 3600 * 1000.0;  // past midnight
  return ended - started;
}

void EmptyFolder(const std::wstring& folder) {
  for (const std::wstring& name : vesk::testing::ListFolder(folder)) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
}

void PrintFigure(const char* label, double ours, const char* unit, double baseline, double ratio,
                 const char* goal) {
  std::printf("%-22s %9.1f %-2s | copy %8.1f %-2s | ratio %5.2f | goal %s\n", label, ours, unit,
              baseline, unit, ratio, goal);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 3 && std::wcscmp(argv[1], L"copy") == 0) return CopyPayload(argv[2]);
  // Options: "verbose" prints each round's figures too; "timeline" runs the window road until
  // the window shows and one quiet install, and prints them line by line; "--setup <file>" measures another VeskSetup.exe with the same payload
  // (an earlier build, say), from its own folder; "--rounds <count>" instead of 7 rounds.
  bool verbose = false;
  bool timeline = false;
  int rounds = 7;
  std::wstring setupExe = WindowsPath(VESK_BENCH_SETUP_EXE);
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"verbose") == 0) {
      verbose = true;
    } else if (std::wcscmp(argv[i], L"timeline") == 0) {
      timeline = true;
    } else if (std::wcscmp(argv[i], L"--setup") == 0 && i + 1 < argc) {
      setupExe = WindowsPath(argv[++i]);
    } else if (std::wcscmp(argv[i], L"--rounds") == 0 && i + 1 < argc) {
      rounds = std::max(1, static_cast<int>(std::wcstol(argv[++i], nullptr, 10)));
    } else {
      std::printf("usage: setup_program_bench.exe [verbose] [timeline] [--setup <program>] "
                  "[--rounds <count>]\n");
      return 2;
    }
  }

  // On Windows the desktop exists from logon. Under Wine its process starts with the first
  // window after the last one closed and ends again when no program uses it, which would put
  // about 300 ms of Wine's own start-up into every window measured here. Using the desktop for
  // the whole run keeps it up, as on a real machine.
  (void)GetDesktopWindow();

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring workingFolder = FolderOf(setupExe) + L"\\.VeskSetupTemp";
  vesk::testing::ScopedDesktopFolder desktop;  // the quiet install renames a desktop shortcut
  vesk::testing::ScopedTempFolder copyTarget(L"setup_program_bench");

  const std::wstring copyCommand =
      L"\"" + std::wstring(self) + L"\" copy \"" + copyTarget.path() + L"\"";
  const std::wstring extractCommand = L"\"" + setupExe + L"\"";
  const std::wstring quietCommand = L"\"" + setupExe + L"\" quiet";

  if (timeline) {
    RemoveInstallation();
    vesk::testing::RemoveTree(workingFolder);
    PrintTimeline(extractCommand);
    vesk::testing::RemoveTree(workingFolder);
    std::printf("\n");
    PrintTimeline(quietCommand);
    RemoveInstallation();
    return 0;
  }

  double payloadMegabytes = 0;
  double installerMegabytes = 0;
  for (const ManifestItem& item : kManifest) {
    payloadMegabytes += FileMegabytes(item.source);
    if (std::wcscmp(item.name, L"mini_installer.exe") == 0) {
      installerMegabytes = FileMegabytes(item.source);
    }
  }
  std::printf("VeskSetup.exe %.1f MiB; payload %zu files, %.1f MiB (mini_installer.exe %.1f MiB)\n",
              FileMegabytes(setupExe), sizeof(kManifest) / sizeof(kManifest[0]), payloadMegabytes,
              installerMegabytes);
  std::printf("medians of %d rounds after a warm-up; copy = a child process copying the payload "
              "files with CopyFileW, timed in the same round; ratio = median of the rounds' "
              "setup / copy\n", rounds);

  std::printf("VeskSetup.exe without its payload resources: %.0f KiB (goal <= 768 KiB with the "
              "window and the toolkit inside)\n", KilobytesWithoutPayload(setupExe));

  std::vector<double> extractTimes, extractCopies, extractRatios;
  std::vector<double> windowTimes, windowCopies, windowRatios, unpausedRatios;
  std::vector<double> quietTimes, quietCopies, quietRatios;
  std::vector<double> kitTimes, kitRatios, installerTimes;
  std::vector<double> setupMemory, copyMemory, memoryRatios;
  bool failures = false;
  for (int round = 0; round <= rounds; ++round) {
    EmptyFolder(copyTarget.path());
    const Run copyBeforeExtract = RunUntilExit(copyCommand);
    vesk::testing::RemoveTree(workingFolder);
    const Run extract = RunUntilExtracted(extractCommand);
    vesk::testing::RemoveTree(workingFolder);

    EmptyFolder(copyTarget.path());
    const Run copyBeforeWindow = RunUntilExit(copyCommand);
    const Run shown = RunUntilWindowShown(extractCommand);
    vesk::testing::RemoveTree(workingFolder);

    EmptyFolder(copyTarget.path());
    const Run copyBeforeQuiet = RunUntilExit(copyCommand);
    RemoveInstallation();
    const Run quiet = RunUntilExit(quietCommand);
    const double installerMs = InstallerRunMilliseconds(InstallLogPath());
    vesk::testing::RemoveTree(workingFolder);

    if (!copyBeforeExtract.completed || copyBeforeExtract.exitCode != 0 ||
        !copyBeforeQuiet.completed || copyBeforeQuiet.exitCode != 0 || !extract.completed ||
        !copyBeforeWindow.completed || !shown.completed || shown.exitCode != 0 ||
        !quiet.completed || quiet.exitCode != 0 || installerMs < 0) {
      std::printf("round %d failed: copy %d/%lu, extraction %d, window %d/%lu, copy %d/%lu, "
                  "quiet %d/%lu, installer run in the log %d\n", round, copyBeforeExtract.completed,
                  copyBeforeExtract.exitCode, extract.completed, shown.completed, shown.exitCode,
                  copyBeforeQuiet.completed,
                  copyBeforeQuiet.exitCode, quiet.completed, quiet.exitCode, installerMs >= 0);
      failures = true;
      continue;
    }
    if (verbose) {
      std::printf("round %d: copy %.1f ms, extracted %.1f ms (%.1f MB) | copy %.1f ms, window "
                  "%.1f ms (%.1f MB) | copy %.1f ms, quiet %.1f ms (%.1f MB), installer %.1f ms\n",
                  round, copyBeforeExtract.milliseconds, extract.milliseconds,
                  extract.peakPrivateMegabytes, copyBeforeWindow.milliseconds, shown.milliseconds,
                  shown.peakPrivateMegabytes, copyBeforeQuiet.milliseconds, quiet.milliseconds,
                  quiet.peakPrivateMegabytes, installerMs);
    }
    if (round == 0) continue;  // warm-up: files in the cache, Wine's services running
    extractTimes.push_back(extract.milliseconds);
    extractCopies.push_back(copyBeforeExtract.milliseconds);
    extractRatios.push_back(extract.milliseconds / copyBeforeExtract.milliseconds);
    windowTimes.push_back(shown.milliseconds);
    windowCopies.push_back(copyBeforeWindow.milliseconds);
    windowRatios.push_back(shown.milliseconds / copyBeforeWindow.milliseconds);
    unpausedRatios.push_back((shown.milliseconds - kPauseAfterTerminatingMs) /
                             copyBeforeWindow.milliseconds);
    quietTimes.push_back(quiet.milliseconds);
    quietCopies.push_back(copyBeforeQuiet.milliseconds);
    quietRatios.push_back(quiet.milliseconds / copyBeforeQuiet.milliseconds);
    installerTimes.push_back(installerMs);
    kitTimes.push_back(quiet.milliseconds - installerMs);
    kitRatios.push_back(kitTimes.back() / copyBeforeQuiet.milliseconds);
    setupMemory.push_back(std::max({quiet.peakPrivateMegabytes, extract.peakPrivateMegabytes,
                                    shown.peakPrivateMegabytes}));
    copyMemory.push_back(copyBeforeQuiet.peakPrivateMegabytes);
    memoryRatios.push_back(setupMemory.back() / copyMemory.back());
  }
  RemoveInstallation();
  vesk::testing::RemoveTree(workingFolder);
  if (extractTimes.empty()) return 1;

  PrintFigure("start to extracted", Median(extractTimes), "ms", Median(extractCopies),
              Median(extractRatios), "<= 1.2");
  PrintFigure("start to window shown", Median(windowTimes), "ms", Median(windowCopies),
              Median(windowRatios), "(with the pause)");
  std::vector<double> unpausedTimes;
  for (double shownMs : windowTimes) unpausedTimes.push_back(shownMs - kPauseAfterTerminatingMs);
  PrintFigure("  less the 1,000 ms pause", Median(unpausedTimes), "ms", Median(windowCopies),
              Median(unpausedRatios), "<= 1.2");
  PrintFigure("whole quiet install", Median(quietTimes), "ms", Median(quietCopies),
              Median(quietRatios), "<= 2.5");
  PrintFigure("  without installer", Median(kitTimes), "ms", Median(quietCopies),
              Median(kitRatios), "(the installer's own run, not setup's)");
  std::printf("  (the stand-in mini_installer.exe ran %.1f ms of it, from setup's start of it to "
              "its end in the install log)\n", Median(installerTimes));
  PrintFigure("peak private memory", Median(setupMemory), "MB", Median(copyMemory),
              Median(memoryRatios), "< 32 MB");
  return failures ? 1 : 0;
}
