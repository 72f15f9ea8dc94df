#include "uninstall/privileges.h"

#include <shellapi.h>

#include <cwctype>
#include <initializer_list>

#include "common/module_path.h"
#include "common/product.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "uninstall/process_control.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

namespace {

bool RealMachineProductKeyExists() {
  UniqueRegKey key;
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, key.put()) ==
         ERROR_SUCCESS;
}

bool RealTokenIsAdministrator() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  UniqueSid administrators;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, administrators.put())) {
    return false;
  }
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators.get(), &member)) member = FALSE;
  return member != FALSE;
}

std::wstring RealProgramPath() { return GetModulePath(); }

// Starts `program` with the "runas" verb, no parameters, shown normally; false with the thread's
// last error set when it was not started (among others when the user declines the prompt). The
// program has no window of its own, so a failure is only logged, never shown in a message box.
bool StartElevated(const std::wstring& program) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = nullptr;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = nullptr;
  info.lpDirectory = nullptr;
  info.nShow = SW_SHOWNORMAL;
  return shell::ExecuteEx(&info) != FALSE;
}

void RealEndProcess(UINT exitCode) { ExitProcess(exitCode); }

std::wstring Lowered(const std::wstring& text) {
  std::wstring lowered = text;
  for (wchar_t& c : lowered) c = static_cast<wchar_t>(towlower(c));
  return lowered;
}

bool ContainsAny(const std::wstring& text, std::initializer_list<const wchar_t*> words) {
  for (const wchar_t* word : words) {
    if (text.find(word) != std::wstring::npos) return true;
  }
  return false;
}

}  // namespace

Seam<bool (*)()> g_machineProductKeyExists{&RealMachineProductKeyExists};
Seam<bool (*)()> g_tokenIsAdministrator{&RealTokenIsAdministrator};
Seam<std::wstring (*)()> g_restartProgramPath{&RealProgramPath};
Seam<void (*)(UINT exitCode)> g_endProcess{&RealEndProcess};

bool NeedsAdministrator(const std::wstring& installPath) {
  if (!installPath.empty() &&
      ContainsAny(Lowered(installPath),
                  {L"program files", L"program files (x86)", L"windows", L"system32"})) {
    LogInfo(L"Installation path is in protected directory: " + installPath);
    return true;
  }
  if (g_machineProductKeyExists()) {
    LogInfo(L"Found system-level registry entries that require administrator privileges");
    return true;
  }
  if (IsProcessRunning(kApplicationExeName)) {
    std::wstring program = FirstProcessImagePath(kApplicationExeName);
    if (!program.empty() && ContainsAny(Lowered(program), {L"program files", L"windows"})) {
      LogInfo(L"Target process is running from protected directory");
      return true;
    }
  }
  LogInfo(L"No administrator privileges required for this uninstallation");
  return false;
}

bool IsRunningAsAdministrator() {
  bool administrator = g_tokenIsAdministrator();
  LogInfo(std::wstring(L"Current process administrator privileges check: ") +
          (administrator ? L"YES" : L"NO"));
  return administrator;
}

void RestartElevated() {
  std::wstring program = g_restartProgramPath();
  LogInfo(L"Restarting process with administrator privileges: " + program);
  if (program.empty() || !StartElevated(program)) {
    LogError(L"Failed to restart with administrator privileges, error code: " +
             std::to_wstring(GetLastError()));
    return;
  }
  LogInfo(L"Successfully initiated restart with administrator privileges");
  g_endProcess(0);
}

bool EnsurePrivileges(const std::wstring& installPath) {
  if (!NeedsAdministrator(installPath)) {
    LogInfo(L"Administrator privileges not required, proceeding with current privileges");
    return true;
  }
  if (IsRunningAsAdministrator()) {
    LogInfo(L"Already running with administrator privileges");
    return true;
  }
  LogWarning(
      L"Administrator privileges required but not available, attempting to restart with "
      L"elevated privileges...");
  RestartElevated();
  return false;
}

}  // namespace vesk::uninstall
