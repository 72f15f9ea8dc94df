#include "updatehelper/update_helper.h"

#include <climits>
#include <string>

#include "common/unique_handle.h"

namespace vesk {
namespace {

constexpr wchar_t kSoftwareKey[] = L"Software";
constexpr wchar_t kProductKey[] = L"Software\\Vesk.helm";
constexpr DWORD kValueBufferBytes = 2048;

// Sends 8-bit text to the debugger as one line. Each byte becomes one UTF-16 unit; bytes 0x80 to
// 0xFF are sign-extended, as the diagnostic lines have always shown them.
void DebugTrace(const UpdateHelperSystem& system, const std::string& text) {
  std::wstring line;
  line.reserve(text.size() + 1);
  for (char c : text) line += static_cast<wchar_t>(static_cast<signed char>(c));
  line += L'\n';
  system.debugOutput(line.c_str());
}

void WideTrace(const UpdateHelperSystem& system, const std::wstring& text) {
  system.debugOutput((text + L'\n').c_str());
}

// The low byte of each UTF-16 unit.
std::string LowBytes(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes += static_cast<char>(static_cast<unsigned char>(c & 0xFF));
  return bytes;
}

// Reads one value and sends it to the debugger twice: as wide text and as its 8-bit copy.
std::wstring ReadAndTrace(const UpdateHelperSystem& system, HKEY key, const wchar_t* name,
                          const char* label) {
  std::wstring value = ReadPendingUpdateValue(system, key, name);
  std::string narrowLabel = label;
  WideTrace(system, std::wstring(narrowLabel.begin(), narrowLabel.end()) + value);
  DebugTrace(system, narrowLabel + LowBytes(value));
  return value;
}

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

// The component starting at `position`, up to the next dot or the end; `position` moves past
// that dot.
std::wstring_view NextComponent(const std::wstring& version, size_t& position) {
  size_t end = version.find(L'.', position);
  if (end == std::wstring::npos) end = version.size();
  std::wstring_view component(version.data() + position, end - position);
  position = end < version.size() ? end + 1 : end;
  return component;
}

void RunAndWait(const std::wstring& command) {
  std::wstring commandLine = command;  // CreateProcessW may write into it
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
}

}  // namespace

int ParseVersionComponent(std::wstring_view component) {
  size_t position = 0;
  while (position < component.size() && IsBlank(component[position])) ++position;
  bool negative = false;
  if (position < component.size() && (component[position] == L'-' || component[position] == L'+')) {
    negative = component[position] == L'-';
    ++position;
  }
  const long long limit = static_cast<long long>(INT_MAX) + 1;  // magnitude of INT_MIN
  long long magnitude = 0;
  for (; position < component.size(); ++position) {
    wchar_t c = component[position];
    if (c < L'0' || c > L'9') break;
    if (magnitude < limit) magnitude = magnitude * 10 + (c - L'0');
  }
  if (magnitude > limit) magnitude = limit;
  if (negative) return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
  return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

bool IsPendingVersionNewer(const std::wstring& pv, const std::wstring& opv) {
  size_t i = 0;
  size_t j = 0;
  while (i < pv.size() && j < opv.size()) {
    int pvComponent = ParseVersionComponent(NextComponent(pv, i));
    int opvComponent = ParseVersionComponent(NextComponent(opv, j));
    if (pvComponent > opvComponent) return true;
    if (pvComponent < opvComponent) return false;
  }
  return true;
}

std::wstring ReadPendingUpdateValue(const UpdateHelperSystem& system, HKEY productKey,
                                   const wchar_t* name) {
  wchar_t buffer[kValueBufferBytes / sizeof(wchar_t)] = {};
  DWORD size = kValueBufferBytes;
  // Whatever the buffer holds after a failed query (the start of a longer value) is not used.
  if (system.queryValue(productKey, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                        &size) != ERROR_SUCCESS) {
    return std::wstring();
  }
  // The text ends at its first null, or at the end of the data when it has none (a value that
  // fills the whole buffer without one is never read beyond it).
  size_t units = size / sizeof(wchar_t);
  size_t length = 0;
  while (length < units && buffer[length] != L'\0') ++length;
  return std::wstring(buffer, length);
}

int RunPendingUpdate(const UpdateHelperSystem& system) {
  {
    HKEY probe = nullptr;
    LSTATUS status = system.openKey(HKEY_CURRENT_USER, kSoftwareKey, 0, KEY_READ, &probe);
    if (status == ERROR_SUCCESS) {
      system.debugOutput(L"Registry key opened successfully.\n");
      RegCloseKey(probe);
    } else {
      DebugTrace(system, "Failed to open registry key. Error code: " + std::to_string(status));
      if (status == ERROR_ACCESS_DENIED) {
        DebugTrace(system, "Access denied. Try running as administrator.");
      }
      if (status == ERROR_FILE_NOT_FOUND) DebugTrace(system, "Registry key not found.");
    }
  }

  UniqueRegKey software;
  if (system.openKey(HKEY_CURRENT_USER, kSoftwareKey, 0, KEY_READ, software.put()) !=
      ERROR_SUCCESS) {
    DebugTrace(system, "Unable to open registry key.");
    return kUpdateHelperNoSoftwareKey;
  }

  UniqueRegKey product;
  LSTATUS result = system.openKey(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, product.put());
  DebugTrace(system, "result: " + std::to_string(result));
  if (result != ERROR_SUCCESS) return kUpdateHelperDone;

  std::wstring pv = ReadAndTrace(system, product.get(), L"pv", "pvStr: ");
  std::wstring opv = ReadAndTrace(system, product.get(), L"opv", "opvStr: ");
  if (opv.empty()) return kUpdateHelperDone;  // no update is pending
  if (!IsPendingVersionNewer(pv, opv)) return kUpdateHelperDone;

  std::wstring command = ReadAndTrace(system, product.get(), L"cmd", "cmdValue: ");
  if (!command.empty()) RunAndWait(command);
  return kUpdateHelperDone;
}

}  // namespace vesk
