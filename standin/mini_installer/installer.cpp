#include "standin/mini_installer/installer.h"

#include <optional>
#include <string_view>

#include "common/bounded_path.h"
#include "common/unique_handle.h"
#include "standin/mini_installer/payload_ids.h"
#include "standin/support/file_tools.h"
#include "standin/support/registry_tools.h"
#include "standin/support/shortcut.h"
#include "standin/support/standin_controls.h"
#include "standin/support/standin_product.h"

namespace vesk::standin {
namespace {

void Trace(const std::wstring& text) {
  OutputDebugStringW((L"mini_installer: " + text + L"\n").c_str());
}

// Every path one install touches; built only when all of them fit 260 characters.
struct InstallPaths {
  std::wstring versionFolder;
  std::wstring installerFolder;
  std::wstring setupExe;
  std::wstring applicationExe;
  std::wstring pendingApplicationExe;
  std::wstring visualElements;
  std::wstring libraryFile;
  std::wstring resourcesFile;
};

std::optional<InstallPaths> BuildInstallPaths(const std::wstring& folder,
                                              const std::wstring& version) {
  auto versionFolder = JoinPath(folder, version);
  auto installerFolder = BuildPath({folder, L"\\", version, L"\\", kInstallerFolder});
  auto setupExe =
      BuildPath({folder, L"\\", version, L"\\", kInstallerFolder, L"\\", kSetupExe});
  auto applicationExe = JoinPath(folder, kApplicationExe);
  auto pendingApplicationExe = JoinPath(folder, kPendingApplicationExe);
  auto visualElements = JoinPath(folder, kVisualElementsFile);
  auto libraryFile = BuildPath({folder, L"\\", version, L"\\vesk.helm.dll"});
  auto resourcesFile = BuildPath({folder, L"\\", version, L"\\resources.pak"});
  if (!versionFolder || !installerFolder || !setupExe || !applicationExe ||
      !pendingApplicationExe || !visualElements || !libraryFile || !resourcesFile) {
    return std::nullopt;
  }
  return InstallPaths{*versionFolder,  *installerFolder, *setupExe,    *applicationExe,
                      *pendingApplicationExe, *visualElements, *libraryFile, *resourcesFile};
}

// Writes the three result values; false when the product key cannot be written.
bool WriteInstallerResult(unsigned long result, unsigned long error, const std::wstring& text) {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool written = SetNumberValue(key.get(), kInstallerResultValue, result);
  written = SetNumberValue(key.get(), kInstallerErrorValue, error) && written;
  return SetStringValue(key.get(), kInstallerResultTextValue, text) && written;
}

int Fail(int exitCode, const std::wstring& reason) {
  Trace(reason);
  WriteInstallerResult(kInstallerResultFailed, static_cast<unsigned long>(exitCode),
                       L"Installation failed (error " +
                           std::to_wstring(static_cast<unsigned long>(exitCode)) + L"): " + reason);
  return exitCode;
}

std::string ApplicationFileText(const std::wstring& name, const std::wstring& version) {
  std::string text = "stand-in for the vesk.helm ";
  for (wchar_t c : name) text += static_cast<char>(c);
  text += " of version ";
  for (wchar_t c : version) text += static_cast<char>(c);
  text += "\r\n";
  return text;
}

std::string VisualElementsText() {
  return "<Application xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>\r\n"
         "  <VisualElements ShowNameOnSquare150x150Logo='on' ForegroundText='light'/>\r\n"
         "</Application>\r\n";
}

bool WriteProductValues(const std::wstring& version, bool pending, const std::wstring& inUse,
                        const std::wstring& setupExe) {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  bool written = SetStringValue(key.get(), kVersionValue, version);
  if (pending) {
    written = SetStringValue(key.get(), kInUseVersionValue, inUse) && written;
    written = SetStringValue(key.get(), kPendingCommandValue, PendingUpdateCommand(setupExe)) &&
              written;
  } else {
    RegDeleteValueW(key.get(), kInUseVersionValue);
    RegDeleteValueW(key.get(), kPendingCommandValue);
  }
  return written;
}

bool WriteUninstallEntry(const std::wstring& installFolder, const InstallPaths& paths,
                         const std::wstring& version) {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  SYSTEMTIME today;
  GetLocalTime(&today);
  wchar_t date[16];
  swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
  bool written = SetStringValue(key.get(), L"UninstallString",
                                L"\"" + paths.setupExe + L"\" " + kUninstallSwitch);
  written = SetStringValue(key.get(), L"DisplayName", kProductName) && written;
  written = SetStringValue(key.get(), L"DisplayVersion", version) && written;
  written = SetStringValue(key.get(), L"Version", version) && written;
  written = SetStringValue(key.get(), L"Publisher", kPublisher) && written;
  written = SetStringValue(key.get(), L"InstallLocation", installFolder) && written;
  written = SetStringValue(key.get(), L"DisplayIcon", paths.applicationExe + L",0") && written;
  written = SetStringValue(key.get(), L"InstallDate", date) && written;
  written = SetNumberValue(key.get(), L"NoModify", 1) && written;
  written = SetNumberValue(key.get(), L"NoRepair", 1) && written;
  return written;
}

void CreateDesktopShortcut(const std::wstring& installFolder, const std::wstring& target) {
  std::wstring desktop = DesktopFolder();
  std::optional<std::wstring> link = JoinPath(desktop, kShortcutName);
  if (desktop.empty() || !link) {
    Trace(L"no desktop folder for the shortcut");
    return;
  }
  HRESULT result = CreateShortcut(*link, target, installFolder, L"Start vesk.helm");
  if (FAILED(result)) Trace(L"shortcut not created, error " + std::to_wstring(result));
}

}  // namespace

InstallOptions ReadInstallOptions(const std::wstring& defaultVersion) {
  InstallOptions options;
  options.version = ReadControl(kVersionVariable);
  if (options.version.empty()) options.version = defaultVersion;
  options.failWith = ReadNumberControl(kInstallerExitCodeVariable);
  options.leavePendingUpdate = ReadControl(kPendingUpdateVariable) == L"1";
  options.inUseVersion = ReadControl(kInUseVersionVariable);
  options.runMs = ReadNumberControl(kInstallerRunMsVariable).value_or(0);
  return options;
}

std::wstring PendingUpdateCommand(const std::wstring& setupPath) {
  return L"\"" + setupPath + L"\" " + kRenameSwitch;
}

int RunInstaller(HMODULE module, const std::wstring& installFolder, const InstallOptions& options) {
  if (options.failWith && *options.failWith != 0) {
    return Fail(static_cast<int>(*options.failWith), L"failure requested by the test controls");
  }
  if (!IsDottedVersion(options.version)) {
    return Fail(kInstallerBadVersion, L"version is not dotted numbers: " + options.version);
  }
  std::optional<InstallPaths> paths = BuildInstallPaths(installFolder, options.version);
  if (!paths) return Fail(kInstallerPathTooLong, L"install folder too long: " + installFolder);

  std::wstring previousVersion = ReadStringValue(HKEY_CURRENT_USER, kProductKey, kVersionValue);
  CreateDirectoryW(paths->versionFolder.c_str(), nullptr);
  CreateDirectoryW(paths->installerFolder.c_str(), nullptr);
  if (!WriteResourceToFile(module, VESK_STANDIN_SETUP_RESOURCE, paths->setupExe)) {
    return Fail(kInstallerFileNotWritten, L"cannot write " + paths->setupExe);
  }
  if (!WriteTextFile(paths->libraryFile, ApplicationFileText(L"vesk.helm.dll", options.version)) ||
      !WriteTextFile(paths->resourcesFile, ApplicationFileText(L"resources.pak", options.version)) ||
      !WriteTextFile(paths->visualElements, VisualElementsText())) {
    return Fail(kInstallerFileNotWritten, L"cannot write the application files");
  }

  // The running application cannot be replaced: the new one waits beside it, and "cmd"
  // completes the switch once it has closed.
  bool pending = options.leavePendingUpdate;
  if (!pending &&
      !WriteResourceToFile(module, VESK_STANDIN_APPLICATION_RESOURCE, paths->applicationExe)) {
    if (!PathExists(paths->applicationExe)) {
      return Fail(kInstallerFileNotWritten, L"cannot write " + paths->applicationExe);
    }
    Trace(L"the application is in use, leaving the update pending");
    pending = true;
  }
  if (pending) {
    if (!WriteResourceToFile(module, VESK_STANDIN_APPLICATION_RESOURCE,
                             paths->pendingApplicationExe)) {
      return Fail(kInstallerFileNotWritten, L"cannot write " + paths->pendingApplicationExe);
    }
  } else {
    DeleteFileW(paths->pendingApplicationExe.c_str());
  }

  std::wstring inUseVersion = options.inUseVersion;
  if (inUseVersion.empty()) inUseVersion = previousVersion;
  if (inUseVersion.empty()) inUseVersion = options.version;
  if (!WriteProductValues(options.version, pending, inUseVersion, paths->setupExe) ||
      !WriteUninstallEntry(installFolder, *paths, options.version)) {
    return Fail(kInstallerRegistryNotWritten, L"cannot write the registry");
  }
  // An update that took effect leaves no older version behind.
  if (!pending && IsDottedVersion(previousVersion) && previousVersion != options.version) {
    if (auto oldFolder = JoinPath(installFolder, previousVersion)) DeleteTree(*oldFolder);
  }
  CreateDesktopShortcut(installFolder, paths->applicationExe);

  std::wstring outcome = pending ? L"vesk.helm " + options.version +
                                       L" installed; it takes over when vesk.helm " +
                                       inUseVersion + L" has closed."
                                 : L"vesk.helm " + options.version + L" installed.";
  if (!WriteInstallerResult(kInstallerResultSucceeded, 0, outcome)) {
    return Fail(kInstallerRegistryNotWritten, L"cannot write the registry");
  }
  Trace(outcome + L" Folder: " + installFolder);
  return kInstallerSuccess;
}

}  // namespace vesk::standin
