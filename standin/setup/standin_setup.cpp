#include "standin/setup/standin_setup.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/bounded_path.h"
#include "common/command_line_arguments.h"
#include "common/log_text.h"
#include "common/module_path.h"
#include "common/unique_handle.h"
#include "standin/support/file_tools.h"
#include "standin/support/registry_tools.h"
#include "standin/support/shortcut.h"
#include "standin/support/standin_controls.h"
#include "standin/support/standin_product.h"

namespace vesk::standin {
namespace {

// setup.exe's own log: the file named by --log-file (when given) and the debugger output.
class SetupLog {
 public:
  explicit SetupLog(std::wstring path) : m_path(std::move(path)) {}

  void Write(const std::wstring& message) const {
    OutputDebugStringW((L"setup: " + message + L"\n").c_str());
    if (m_path.empty()) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    std::string bytes;
    AppendLogBytes(bytes, stamp);
    AppendLogBytes(bytes, message);
    bytes += "\r\n";
    AppendToFile(m_path, bytes);
  }

 private:
  std::wstring m_path;
};

struct Installation {
  std::wstring folder;
  std::wstring version;
  std::wstring setupExe;
};

Installation LocateInstallation(const std::wstring& setupPath) {
  std::wstring installerFolder = FolderOf(setupPath);
  std::wstring versionFolder = FolderOf(installerFolder);
  Installation installation;
  installation.folder = FolderOf(versionFolder);
  installation.version = versionFolder.substr(versionFolder.find_last_of(L'\\') + 1);
  installation.setupExe = setupPath;
  return installation;
}

void RemoveShortcuts(const Installation& installation, const SetupLog& log) {
  std::wstring desktop = DesktopFolder();
  if (desktop.empty()) return;
  std::wstring application = installation.folder + L"\\" + kApplicationExe;
  std::wstring pendingApplication = installation.folder + L"\\" + kPendingApplicationExe;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileW((desktop + L"\\*.lnk").c_str(), &entry));
  if (!find) return;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::wstring link = desktop + L"\\" + entry.cFileName;
    std::wstring target = ShortcutTarget(link);
    if (!SamePath(target, application) && !SamePath(target, pendingApplication)) continue;
    if (DeleteFileW(link.c_str())) {
      log.Write(L"Removed shortcut: " + link);
    } else {
      log.Write(L"Cannot remove shortcut: " + link + L", error " +
                std::to_wstring(GetLastError()));
    }
  } while (FindNextFileW(find.get(), &entry));
}

// A program file cannot be deleted while it runs: it and its folders go at the next restart.
void ScheduleOwnRemoval(const Installation& installation, const SetupLog& log) {
  if (!PathExists(installation.setupExe)) return;
  std::wstring installerFolder = FolderOf(installation.setupExe);
  std::wstring versionFolder = FolderOf(installerFolder);
  for (const std::wstring& path : {installation.setupExe, installerFolder, versionFolder}) {
    if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      log.Write(L"In use, removed at the next restart: " + path);
    } else {
      log.Write(L"Cannot schedule removal at the next restart: " + path + L", error " +
                std::to_wstring(GetLastError()));
    }
  }
}

void RemoveApplication(const Installation& installation, const SetupLog& log) {
  RemoveShortcuts(installation, log);
  // Everything in the install folder goes, except the kit's uninstall folder, whose
  // uninstaller is running and removes it itself.
  std::wstring uninstallFolder = installation.folder + L"\\" + kUninstallFolder;
  if (DeleteContentsExcept(installation.folder, {uninstallFolder})) {
    log.Write(L"Removed the application files from " + installation.folder);
  } else {
    log.Write(L"Some files of " + installation.folder + L" could not be removed");
  }
  ScheduleOwnRemoval(installation, log);
  if (RemoveDirectoryW(installation.folder.c_str())) {
    log.Write(L"Removed the install folder " + installation.folder);
  }
  bool entryRemoved = DeleteKeyTree(HKEY_CURRENT_USER, kUninstallEntryKey);
  bool productRemoved = DeleteKeyTree(HKEY_CURRENT_USER, kProductKey);
  log.Write(entryRemoved && productRemoved ? L"Removed the registry entries"
                                           : L"Some registry entries could not be removed");
}

// What a failed uninstall leaves: the uninstall folder and this setup.exe only.
void ReduceToMinimalState(const Installation& installation, const SetupLog& log) {
  std::wstring uninstallFolder = installation.folder + L"\\" + kUninstallFolder;
  if (DeleteContentsExcept(installation.folder, {uninstallFolder, installation.setupExe})) {
    log.Write(L"Left only the uninstall folder and " + installation.setupExe);
  } else {
    log.Write(L"Some files of " + installation.folder + L" could not be removed");
  }
}

int Uninstall(const Installation& installation, const SetupLog& log) {
  log.Write(L"Uninstalling vesk.helm " + installation.version + L" from " + installation.folder);
  if (IsProcessRunning(kApplicationExe)) {
    log.Write(L"vesk.helm.exe is running; nothing removed");
    return kSetupApplicationRunning;
  }
  unsigned long code = ReadNumberControl(kSetupExitCodeVariable).value_or(kSetupUninstallSucceeded);
  switch (code) {
    case kSetupUserConfirmed:
    case kSetupUserConfirmedDeletingProfile:
    case kSetupUninstallSucceeded:
    case kSetupRestartRequired:
      RemoveApplication(installation, log);
      break;
    case kSetupUninstallFailed:
      ReduceToMinimalState(installation, log);
      break;
    default:
      log.Write(L"Nothing removed");
      break;
  }
  return static_cast<int>(code);
}

int CompletePendingUpdate(const Installation& installation, const SetupLog& log) {
  std::wstring application = installation.folder + L"\\" + kApplicationExe;
  std::wstring pendingApplication = installation.folder + L"\\" + kPendingApplicationExe;
  if (PathExists(pendingApplication)) {
    if (!MoveFileExW(pendingApplication.c_str(), application.c_str(),
                     MOVEFILE_REPLACE_EXISTING)) {
      log.Write(L"Cannot replace " + application + L", error " + std::to_wstring(GetLastError()));
      return kSetupSystemCallFailed;
    }
    log.Write(L"Replaced " + application + L" by the updated application");
  }
  std::wstring inUseVersion = ReadStringValue(HKEY_CURRENT_USER, kProductKey, kInUseVersionValue);
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_SET_VALUE, key.put()) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(key.get(), kInUseVersionValue);
    RegDeleteValueW(key.get(), kPendingCommandValue);
  }
  if (IsDottedVersion(inUseVersion) && inUseVersion != installation.version) {
    if (std::optional<std::wstring> oldFolder = JoinPath(installation.folder, inUseVersion)) {
      DeleteTree(*oldFolder);
      log.Write(L"Removed the previous version " + inUseVersion);
    }
  }
  log.Write(L"Update to " + installation.version + L" completed");
  return kSetupRenameSucceeded;
}

}  // namespace

SetupCommand ParseSetupCommandLine(const wchar_t* commandLine) {
  SetupCommand command;
  std::optional<std::vector<std::wstring>> arguments = SplitCommandLine(commandLine);
  if (!arguments) return command;
  const std::wstring logFileSwitch = kLogFileSwitch;
  for (size_t i = 1; i < arguments->size(); ++i) {
    const std::wstring& argument = (*arguments)[i];
    if (argument == kUninstallSwitch) {
      command.mode = SetupCommand::Mode::kUninstall;
    } else if (argument == kRenameSwitch) {
      command.mode = SetupCommand::Mode::kRename;
    } else if (argument.compare(0, logFileSwitch.size(), logFileSwitch) == 0) {
      command.logFile = argument.substr(logFileSwitch.size());
      // Quotes that reached the value (a command line that escaped them) are not part of the path.
      if (command.logFile.size() >= 2 && command.logFile.front() == L'"' &&
          command.logFile.back() == L'"') {
        command.logFile = command.logFile.substr(1, command.logFile.size() - 2);
      }
    } else if (argument != L"--verbose-logging" && argument != L"--enable-logging") {
      command.ignored.push_back(argument);
    }
  }
  return command;
}

int RunSetupCommand(const std::wstring& setupPath, const SetupCommand& command,
                    const std::wstring& commandLine) {
  SetupLog log(command.logFile);
  log.Write(L"Command line: " + commandLine);
  for (const std::wstring& argument : command.ignored) log.Write(L"Ignored argument: " + argument);
  Installation installation = LocateInstallation(setupPath);
  int exitCode = kSetupUnknownCommand;
  if (command.mode == SetupCommand::Mode::kUninstall) {
    exitCode = Uninstall(installation, log);
  } else if (command.mode == SetupCommand::Mode::kRename) {
    exitCode = CompletePendingUpdate(installation, log);
  } else {
    log.Write(L"Nothing to do: neither --uninstall nor --rename-vesk-exe was given");
  }
  log.Write(L"Exit code: " + std::to_wstring(static_cast<unsigned long>(exitCode)));
  return exitCode;
}

}  // namespace vesk::standin
