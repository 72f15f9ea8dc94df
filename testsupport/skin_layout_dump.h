// The golden dump of a built and laid-out control tree: one line per control (class, name,
// visibility, rectangle), children indented below their container; and its comparison with a
// committed text file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {
namespace testing {

std::string LayoutDump(CControlUI* root);

// Compares `dump` with the file at `path` (a Windows path); with the environment variable
// VESK_UPDATE_GOLDENS set, the file is written first. A missing file fails.
::testing::AssertionResult MatchesDumpGolden(const std::string& dump, const std::wstring& path);

}  // namespace testing
}  // namespace SkinUI
