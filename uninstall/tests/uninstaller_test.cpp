#include "uninstall/uninstaller.h"

#include <gtest/gtest.h>

namespace vesk::uninstall {
namespace {

struct ForceRow {
  const wchar_t* commandLine;
  bool force;
};

// Only an element after the program path that is exactly "--force" switches force mode on.
TEST(ParseForceMode, OnlyTheExactWordCounts) {
  const ForceRow rows[] = {
      {L"VeskUninstall.exe", false},
      {L"VeskUninstall.exe --force", true},
      {L"\"C:\\A b\\VeskUninstall.exe\" --force", true},
      {L"VeskUninstall.exe --force --force", true},
      {L"VeskUninstall.exe other --force", true},
      {L"VeskUninstall.exe \"--force\"", true},
      {L"--force", false},
      {L"--force other", false},
      {L"VeskUninstall.exe --FORCE", false},
      {L"VeskUninstall.exe -force", false},
      {L"VeskUninstall.exe /force", false},
      {L"VeskUninstall.exe --force=1", false},
      {L"VeskUninstall.exe \" --force\"", false},
      {L"VeskUninstall.exe --forced", false},
      {L"VeskUninstall.exe /s", false},
  };
  for (const ForceRow& row : rows) {
    EXPECT_EQ(ParseForceMode(row.commandLine), row.force) << row.commandLine;
  }
}

}  // namespace
}  // namespace vesk::uninstall
