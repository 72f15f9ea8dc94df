// Test controls of the stand-in product: environment variables, which child processes inherit,
// so a test sets them once and every stand-in started below it (also through VeskSetup or
// VeskUninstall) takes the chosen road. Unset variables give the normal, successful run.
// standin/README.md lists them.
#pragma once

#include <optional>
#include <string>

namespace vesk::standin {

constexpr wchar_t kInstallerExitCodeVariable[] = L"VESK_STANDIN_INSTALLER_EXIT_CODE";
constexpr wchar_t kInstallerRunMsVariable[] = L"VESK_STANDIN_INSTALLER_RUN_MS";
constexpr wchar_t kVersionVariable[] = L"VESK_STANDIN_VERSION";
constexpr wchar_t kPendingUpdateVariable[] = L"VESK_STANDIN_PENDING_UPDATE";
constexpr wchar_t kInUseVersionVariable[] = L"VESK_STANDIN_IN_USE_VERSION";
constexpr wchar_t kSetupExitCodeVariable[] = L"VESK_STANDIN_SETUP_EXIT_CODE";
constexpr wchar_t kApplicationLogVariable[] = L"VESK_STANDIN_APP_LOG";

// The variable's text; empty when it is not set (or does not fit 32,767 characters).
std::wstring ReadControl(const wchar_t* name);

// The variable as a 32-bit exit code or count: a whole decimal number (an optional sign, then
// digits only); a negative number is taken as its unsigned 32-bit form, as exit codes are
// (-1 is 4294967295). Nothing when it is unset, holds anything else or does not fit 32 bits.
std::optional<unsigned long> ReadNumberControl(const wchar_t* name);

// Parses a whole decimal number as above.
std::optional<unsigned long> ParseWholeNumber(const std::wstring& text);

// True for dotted numbers such as "1.9.1.2925" (digits separated by single dots).
bool IsDottedVersion(const std::wstring& text);

}  // namespace vesk::standin
