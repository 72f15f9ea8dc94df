#include "updatehelper/update_helper.h"

#include <climits>
#include <string>

#include "common/product.h"
#include "common/registry_text.h"
#include "common/unique_handle.h"

namespace vesk {

Seam<decltype(&::RegOpenKeyExW)> g_updateHelperOpenKey{&::RegOpenKeyExW};
Seam<decltype(&::OutputDebugStringW)> g_updateHelperDebugOutput{&::OutputDebugStringW};

namespace {

constexpr wchar_t kSoftwareKey[] = L"Software";
constexpr DWORD kValueBufferBytes = 2048;

// Sends 8-bit text to the debugger as one line. Each byte becomes one UTF-16 unit; bytes 0x80 to
// 0xFF are sign-extended, as the diagnostic lines have always shown them.
void DebugTrace(const std::string& text) {
  std::wstring line;
  line.reserve(text.size() + 1);
  for (char c : text) line += static_cast<wchar_t>(static_cast<signed char>(c));
  line += L'\n';
  g_updateHelperDebugOutput(line.c_str());
}

void WideTrace(const std::wstring& text) {
  g_updateHelperDebugOutput((text + L'\n').c_str());
}

// The low byte of each UTF-16 unit.
std::string LowBytes(const std::wstring& text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (wchar_t c : text) bytes += static_cast<char>(static_cast<unsigned char>(c & 0xFF));
  return bytes;
}

// Reads one value and sends it to the debugger twice: as wide text and as its 8-bit copy.
std::wstring ReadAndTrace(HKEY key, const wchar_t* name,
                          const char* label) {
  std::wstring value = ReadPendingUpdateValue(key, name);
  std::string narrowLabel = label;
  WideTrace(std::wstring(narrowLabel.begin(), narrowLabel.end()) + value);
  DebugTrace(narrowLabel + LowBytes(value));
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

std::wstring ReadPendingUpdateValue(HKEY productKey, const wchar_t* name) {
  // A value that does not fit reads as empty: the start of a longer command is never used.
  std::wstring text;
  ReadBoundedRegistryText(productKey, name, kValueBufferBytes / sizeof(wchar_t), text);
  return text;
}

int RunPendingUpdate() {
  {
    UniqueRegKey probe;
    LSTATUS status =
        g_updateHelperOpenKey(HKEY_CURRENT_USER, kSoftwareKey, 0, KEY_READ, probe.put());
    if (status == ERROR_SUCCESS) {
      g_updateHelperDebugOutput(L"Registry key opened successfully.\n");
    } else {
      DebugTrace("Failed to open registry key. Error code: " + std::to_string(status));
      if (status == ERROR_ACCESS_DENIED) {
        DebugTrace("Access denied. Try running as administrator.");
      }
      if (status == ERROR_FILE_NOT_FOUND) DebugTrace("Registry key not found.");
    }
  }

  UniqueRegKey software;
  if (g_updateHelperOpenKey(HKEY_CURRENT_USER, kSoftwareKey, 0, KEY_READ, software.put()) !=
      ERROR_SUCCESS) {
    DebugTrace("Unable to open registry key.");
    return kUpdateHelperNoSoftwareKey;
  }

  UniqueRegKey product;
  LSTATUS result = g_updateHelperOpenKey(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, product.put());
  DebugTrace("result: " + std::to_string(result));
  if (result != ERROR_SUCCESS) return kUpdateHelperDone;

  std::wstring pv = ReadAndTrace(product.get(), kProductVersionValue, "pvStr: ");
  std::wstring opv = ReadAndTrace(product.get(), kPendingVersionValue, "opvStr: ");
  if (opv.empty()) return kUpdateHelperDone;  // no update is pending
  if (!IsPendingVersionNewer(pv, opv)) return kUpdateHelperDone;

  std::wstring command = ReadAndTrace(product.get(), kPendingCommandValue, "cmdValue: ");
  if (!command.empty()) RunAndWait(command);
  return kUpdateHelperDone;
}

}  // namespace vesk
