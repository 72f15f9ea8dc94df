#include "setup/engine/command_line.h"

#include <gtest/gtest.h>

#include <string>

#include "testsupport/test_support.h"

namespace vesk {
namespace {

struct CommandLineCase {
  const wchar_t* commandLine;
  bool isUpdate, isQuiet, isAutoLaunch, isKill;
};

// Only whole, exact, case-sensitive keywords set flags; every element counts, element 0 included,
// and repeats or unknown words change nothing else.
TEST(SetupCommandLine, KeywordsSetFlagsOnlyWhenWholeAndExact) {
  const CommandLineCase cases[] = {
      {L"VeskSetup.exe", false, false, true, false},
      {L"VeskSetup.exe quiet", false, true, true, false},
      {L"VeskSetup.exe /s", false, true, true, false},
      {L"VeskSetup.exe /S", false, false, true, false},
      {L"VeskSetup.exe QUIET Quiet -quiet --quiet /quiet quiet=1 \" quiet\"", false, false, true,
       false},
      {L"VeskSetup.exe update", true, false, true, false},
      {L"VeskSetup.exe disable_autolaunch", false, false, false, false},
      {L"VeskSetup.exe kill", false, false, true, true},
      {L"VeskSetup.exe quiet disable_autolaunch kill", false, true, false, true},
      {L"VeskSetup.exe kill kill quiet quiet /s", false, true, true, true},
      {L"VeskSetup.exe update quiet", true, true, true, false},
      {L"VeskSetup.exe something else", false, false, true, false},
      {L"\"C:\\My Folder\\VeskSetup.exe\" \"quiet\"", false, true, true, false},
      {L"quiet", false, true, true, false},
      {L"kill update", true, false, true, true},
  };
  for (const CommandLineCase& row : cases) {
    SetupFlags flags;
    ASSERT_TRUE(ParseSetupCommandLine(row.commandLine, flags));
    SCOPED_TRACE(testing::Narrow(row.commandLine));
    EXPECT_EQ(flags.isUpdate, row.isUpdate);
    EXPECT_EQ(flags.isQuiet, row.isQuiet);
    EXPECT_EQ(flags.isAutoLaunch, row.isAutoLaunch);
    EXPECT_EQ(flags.isKill, row.isKill);
  }
}

}  // namespace
}  // namespace vesk
