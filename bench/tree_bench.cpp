// Figures of a tree with a folder of 10,000 children (and a few other nodes), built from skin
// markup, attached to a paint manager and laid out at 640 x 460: the build itself, expanding and
// collapsing the big folder, scrolling the expanded tree by a page and moving the selection down
// by one (the Down key), each with a repaint of the window's 640 x 460 into a bitmap (goal: one
// 60 Hz frame, 16.7 ms). Medians of several runs.
//   cmake --build <build> --target tree_bench
//   cmake/wine-run.sh <build> <build>/bin/tree_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/ui_bench_support.h"
#include "uitoolkit/controls/tree/ui_tree_view.h"

namespace {

using namespace SkinUI;
using namespace bench;

constexpr int kChildren = 10000;

std::wstring GenerateSkin(bool expanded) {
  std::wstring xml =
      L"<Window size=\"640,460\"><TreeView name=\"tree\" itemheight=\"20\" checkboxes=\"true\" "
      L"bkcolor=\"#FFFFFFFF\"><TreeNode text=\"Before\"><TreeNode text=\"Child\" /></TreeNode>"
      L"<TreeNode name=\"big\" text=\"Big folder\" checked=\"true\" expanded=\"";
  xml += expanded ? L"true\">" : L"false\">";
  for (int i = 0; i < kChildren; ++i) {
    xml += L"<TreeNode text=\"Item " + std::to_wstring(i) + L"\" />";
  }
  xml += L"</TreeNode><TreeNode text=\"After\" /></TreeView></Window>";
  return xml;
}

CTreeViewUI* AsTree(CControlUI* control) {
  return static_cast<CTreeViewUI*>(control->GetInterface(L"TreeView"));
}

// Times of the even rounds (from the first) and of the odd ones.
std::vector<double> EveryOther(const std::vector<double>& times, int first) {
  std::vector<double> picked;
  for (size_t i = static_cast<size_t>(first); i < times.size(); i += 2) picked.push_back(times[i]);
  return picked;
}

}  // namespace

int wmain() {
  std::wprintf(L"Tree with a folder of %d children at 640 x 460 (medians; goal: one 60 Hz frame, "
               L"%.1f ms)\n", kChildren, kFrameMs);
  const std::wstring collapsed = GenerateSkin(false);
  std::vector<double> builds;
  for (int run = 0; run < 5; ++run) {
    const Clock::time_point start = Clock::now();
    MeasureRepaintedSteps(collapsed, 0, [](CControlUI*) {}, L"tree");
    builds.push_back(Ms(start, Clock::now()));
  }
  std::wprintf(L"  build + attach + first layout and paint: %.2f ms\n", Median(builds));
  // Rounds alternate: expand, collapse, expand, ...
  const std::vector<double> toggles = MeasureRepaintedSteps(
      collapsed, 40,
      [](CControlUI* tree) {
        CTreeNodeUI* big = AsTree(tree)->GetRootNode(1);
        big->SetExpanded(!big->IsExpanded());
      },
      L"tree");
  const double expand = Median(EveryOther(toggles, 0));
  const double collapse = Median(EveryOther(toggles, 1));
  std::wprintf(L"  expand the folder + repaint: %.3f ms (%.2f frames)\n", expand,
               expand / kFrameMs);
  std::wprintf(L"  collapse the folder + repaint: %.3f ms (%.2f frames)\n", collapse,
               collapse / kFrameMs);
  const std::wstring expanded = GenerateSkin(true);
  const double page = Median(MeasureRepaintedSteps(
      expanded, 31, [](CControlUI* tree) { AsTree(tree)->GetBody()->PageDown(); }, L"tree"));
  std::wprintf(L"  Page Down (scroll) + repaint, folder open: %.3f ms (%.2f frames)\n", page,
               page / kFrameMs);
  const double down = Median(MeasureRepaintedSteps(
      expanded, 61,
      [](CControlUI* tree) {
        TEventUI event;
        event.Type = UIEVENT_KEYDOWN;
        event.pSender = tree;
        event.chKey = VK_DOWN;
        AsTree(tree)->DoEvent(event);
      },
      L"tree"));
  std::wprintf(L"  Down key (selection + 1) + repaint, folder open: %.3f ms (%.2f frames)\n", down,
               down / kFrameMs);
  return 0;
}
