// The setup window's skin, built from its file and laid out at 640 x 460 without a window,
// matches the golden dump: class, name, visibility and rectangle of every control.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace SkinUI {
namespace {

std::string Narrow(const wchar_t* text) {
  std::string narrow;
  for (; *text != L'\0'; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  return narrow;
}

// One line per control, children indented below their container.
void Dump(CControlUI* control, int depth, std::ostringstream& out) {
  const RECT& rc = control->GetPos();
  const CUiString name = control->GetName();
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << Narrow(control->GetClass())
      << ' ' << (name.IsEmpty() ? std::string("-") : Narrow(name)) << ' '
      << (control->IsVisible() ? "visible" : "hidden") << ' ' << rc.left << ',' << rc.top << ','
      << rc.right << ',' << rc.bottom << '\n';
  IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
  if (container == nullptr) return;
  for (int i = 0; i < container->GetCount(); ++i) Dump(container->GetItemAt(i), depth + 1, out);
}

std::string GoldenPath() {
  std::wstring path = std::wstring(BUILDER_GOLDEN_FOLDER) + L"\\main_skin_layout.txt";
  return Narrow(path.c_str());
}

// Built from setup/skin/main.xml and laid out at the window's size, the tree is the one the
// setup window's skin table describes.
TEST(MainSkin, BuildsAndLaysOutAsTheGoldenDump) {
  CPaintManagerUI::SetResourcePath(SETUP_SKIN_FOLDER);
  CPaintManagerUI manager;
  CDialogBuilder builder;
  CControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &manager);
  ASSERT_NE(nullptr, root);
  ASSERT_TRUE(manager.AttachDialog(root));
  manager.UpdateLayout(RECT{0, 0, 640, 460});
  std::ostringstream dump;
  Dump(root, 0, dump);

  if (std::getenv("VESK_UPDATE_GOLDENS") != nullptr) {
    std::ofstream(GoldenPath(), std::ios::binary) << dump.str();
  }
  std::ifstream goldenFile(GoldenPath(), std::ios::binary);
  ASSERT_TRUE(goldenFile.good()) << GoldenPath() << " (run with VESK_UPDATE_GOLDENS=1 to write it)";
  std::ostringstream golden;
  golden << goldenFile.rdbuf();
  EXPECT_EQ(golden.str(), dump.str());
  // Attributes without effect stay custom attributes; the window attributes need a window.
  EXPECT_STREQ(L"center", manager.FindControl(L"installBtnLayout")->GetCustomAttribute(L"align"));
  EXPECT_EQ(0, manager.GetInitSize().cx);
  CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
}  // namespace SkinUI
