#include "testsupport/skin_layout_dump.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {
namespace testing {
namespace {

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != L'\0'; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  return narrow;
}

void Dump(CControlUI* control, int depth, std::ostringstream& out) {
  const RECT& rc = control->GetPos();
  const CUiString name = control->GetName();
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << Narrow(control->GetClass()) << ' '
      << (name.IsEmpty() ? std::string("-") : Narrow(name)) << ' '
      << (control->IsVisible() ? "visible" : "hidden") << ' ' << rc.left << ',' << rc.top << ','
      << rc.right << ',' << rc.bottom << '\n';
  IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
  if (container == nullptr) return;
  for (int i = 0; i < container->GetCount(); ++i) Dump(container->GetItemAt(i), depth + 1, out);
}

}  // namespace

std::string LayoutDump(CControlUI* root) {
  std::ostringstream dump;
  if (root != nullptr) Dump(root, 0, dump);
  return dump.str();
}

::testing::AssertionResult MatchesDumpGolden(const std::string& dump, const std::wstring& path) {
  const std::string narrowPath = Narrow(path.c_str());
  if (std::getenv("VESK_UPDATE_GOLDENS") != nullptr) {
    std::ofstream(narrowPath, std::ios::binary) << dump;
  }
  std::ifstream goldenFile(narrowPath, std::ios::binary);
  if (!goldenFile.good()) {
    return ::testing::AssertionFailure()
           << narrowPath << " is missing (run with VESK_UPDATE_GOLDENS=1 to write it)";
  }
  std::ostringstream golden;
  golden << goldenFile.rdbuf();
  if (golden.str() == dump) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "the layout differs from " << narrowPath << "\nexpected:\n"
         << golden.str() << "actual:\n"
         << dump;
}

}  // namespace testing
}  // namespace SkinUI
