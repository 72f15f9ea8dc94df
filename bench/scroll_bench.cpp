// Figures of a scrolling column of labels: a vertical layout with a vertical scroll bar holding
// 1,000, 10,000 and 100,000 labels, built from skin markup, attached to a paint manager and laid
// out at 640 x 460 (time per control at each size; the goal is at most 1.5 x from 1k to 100k),
// the manager bound to a hidden window so that labels measure their text with its device context
// as in a shown window (without one each label would create a context of its own),
// and the time to scroll one page and repaint the window's 640 x 460 into a bitmap (the goal is
// one 60 Hz frame, 16.7 ms, with 10,000 labels). Medians of several runs.
//   cmake --build <build> --target scroll_bench
//   cmake/wine-run.sh <build> <build>/bin/scroll_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "uitoolkit/controls/ui_container.h"
#include "bench/ui_bench_support.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace {

using namespace SkinUI;
using namespace bench;

std::wstring GenerateSkin(int labels) {
  std::wstring xml =
      L"<Window size=\"640,460\"><VerticalLayout name=\"list\" vscrollbar=\"true\" "
      L"bkcolor=\"#FFFFFFFF\">";
  for (int i = 0; i < labels; ++i) {
    xml += L"<Label height=\"20\" text=\"Item " + std::to_wstring(i) + L"\" />";
  }
  xml += L"</VerticalLayout></Window>";
  return xml;
}

// Phases of one build, in milliseconds.
struct TBuild {
  double build = 0;   // CDialogBuilder::Create from the markup text
  double attach = 0;  // CPaintManagerUI::AttachDialog
  double layout = 0;  // the first layout pass at 640 x 460
  double Total() const { return build + attach + layout; }
};

TBuild MeasureBuild(const std::wstring& xml) {
  TBuild phases;
  CPaintManagerUI manager;
  manager.Init(BenchWindow());
  CDialogBuilder builder;
  Clock::time_point start = Clock::now();
  CControlUI* root = builder.Create(xml.c_str(), nullptr, nullptr, &manager);
  if (root == nullptr) return phases;
  phases.build = Ms(start, Clock::now());
  start = Clock::now();
  manager.AttachDialog(root);
  phases.attach = Ms(start, Clock::now());
  start = Clock::now();
  manager.UpdateLayout(kClient);
  phases.layout = Ms(start, Clock::now());
  root->Delete();
  return phases;
}

}  // namespace

int wmain() {
  std::wprintf(L"Scrolling column of labels: build from markup + attach + first layout at "
               L"640 x 460 (medians)\n");
  const int sizes[] = {1000, 10000, 100000};
  double perControl[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::wstring xml = GenerateSkin(sizes[i]);
    std::vector<TBuild> runs;
    for (int run = 0; run < (sizes[i] < 100000 ? 7 : 3); ++run) runs.push_back(MeasureBuild(xml));
    auto median = [&](double (*pick)(const TBuild&)) {
      std::vector<double> values;
      for (const TBuild& run : runs) values.push_back(pick(run));
      return Median(values);
    };
    const double ms = median([](const TBuild& b) { return b.Total(); });
    perControl[i] = ms * 1000.0 / sizes[i];
    std::wprintf(L"  %6d labels  build %9.2f + attach %8.2f + layout %8.2f = %9.2f ms  "
                 L"%6.2f us/control\n",
                 sizes[i], median([](const TBuild& b) { return b.build; }),
                 median([](const TBuild& b) { return b.attach; }),
                 median([](const TBuild& b) { return b.layout; }), ms, perControl[i]);
  }
  std::wprintf(L"  100k / 1k per control: %.2f x (goal <= 1.5 x)\n",
               perControl[0] > 0 ? perControl[2] / perControl[0] : 0.0);

  for (int labels : {10000, 100000}) {
    const double ms = Median(MeasureRepaintedSteps(GenerateSkin(labels), 31, [](CControlUI* list) {
      static_cast<CContainerUI*>(list->GetInterface(L"Container"))->PageDown();
    }));
    std::wprintf(L"Page Down + repaint of 640 x 460 with %d labels: %.3f ms (%.2f frames of "
                 L"16.7 ms)\n",
                 labels, ms, ms / kFrameMs);
  }
  return 0;
}
