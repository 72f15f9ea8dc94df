// Figures of a list of text rows: a List with a three-column header holding 1,000, 10,000 and
// 100,000 ListTextElements, built from skin markup, attached to a paint manager and laid out at
// 640 x 460 (time per element at each size; the goal is at most 1.5 x from 1k to 100k), the
// process's private bytes per element (the growth over the build, the most of the runs), and, with 100,000 rows, the time to scroll one page and
// to move the selection down by one (the Down key), each with a repaint of the window's
// 640 x 460 into a bitmap (goal: one 60 Hz frame, 16.7 ms). Medians of several runs.
//   cmake --build <build> --target list_bench
//   cmake/wine-run.sh <build> <build>/bin/list_bench.exe
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "uitoolkit/controls/lists/ui_list.h"
#include "bench/ui_bench_support.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace {

using namespace SkinUI;
using namespace bench;

std::wstring GenerateSkin(int rows) {
  std::wstring xml =
      L"<Window size=\"640,460\"><List name=\"list\" itemheight=\"20\" bkcolor=\"#FFFFFFFF\">"
      L"<ListHeader><ListHeaderItem text=\"Name\" width=\"200\" />"
      L"<ListHeaderItem text=\"Kind\" width=\"150\" />"
      L"<ListHeaderItem text=\"Size\" width=\"250\" /></ListHeader>";
  for (int i = 0; i < rows; ++i) {
    xml += L"<ListTextElement text=\"Item " + std::to_wstring(i) + L"|Kind|" +
           std::to_wstring(i * 7) + L" KB\" />";
  }
  xml += L"</List></Window>";
  return xml;
}

SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof(counters);
  ::K32GetProcessMemoryInfo(::GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof(counters));
  // Wine leaves PrivateUsage 0; its PagefileUsage counts the same private commit.
  return counters.PrivateUsage != 0 ? counters.PrivateUsage : counters.PagefileUsage;
}

// One build of `xml`: milliseconds of build + attach + first layout, and the private bytes the
// built tree holds.
struct TBuild {
  double ms = 0;
  double bytes = 0;
};

TBuild MeasureBuild(const std::wstring& xml) {
  TBuild result;
  CPaintManagerUI manager;
  manager.Init(BenchWindow());
  const SIZE_T before = PrivateBytes();
  const Clock::time_point start = Clock::now();
  CControlUI* root = nullptr;
  {
    CDialogBuilder builder;
    root = builder.Create(xml.c_str(), nullptr, nullptr, &manager);
  }
  if (root == nullptr) return result;
  manager.AttachDialog(root);
  manager.UpdateLayout(kClient);
  result.ms = Ms(start, Clock::now());
  result.bytes = static_cast<double>(PrivateBytes()) - static_cast<double>(before);
  root->Delete();
  return result;
}

CListUI* AsList(CControlUI* control) {
  return static_cast<CListUI*>(control->GetInterface(L"List"));
}

void PressDown(CControlUI* control) {
  CListUI* list = AsList(control);
  TEventUI event;
  event.Type = UIEVENT_KEYDOWN;
  event.pSender = list;
  event.chKey = VK_DOWN;
  list->DoEvent(event);
}

}  // namespace

int wmain() {
  std::wprintf(L"List of text rows (3 columns): build from markup + attach + first layout at "
               L"640 x 460 (medians)\n");
  const int sizes[] = {1000, 10000, 100000};
  double perElement[3] = {};
  for (int i = 0; i < 3; ++i) {
    const std::wstring xml = GenerateSkin(sizes[i]);
    std::vector<double> times;
    std::vector<double> bytes;
    for (int run = 0; run < (sizes[i] < 100000 ? 7 : 3); ++run) {
      const TBuild build = MeasureBuild(xml);
      times.push_back(build.ms);
      bytes.push_back(build.bytes);
    }
    const double ms = Median(times);
    perElement[i] = ms * 1000.0 / sizes[i];
    // The most of the runs: later runs reuse heap the earlier ones freed.
    std::wprintf(L"  %6d rows  %9.2f ms  %6.2f us/element  %7.0f private bytes/element\n",
                 sizes[i], ms, perElement[i], *std::max_element(bytes.begin(), bytes.end()) / sizes[i]);
  }
  std::wprintf(L"  100k / 1k per element: %.2f x (goal <= 1.5 x)\n",
               perElement[0] > 0 ? perElement[2] / perElement[0] : 0.0);
  const std::wstring xml = GenerateSkin(100000);
  const double page = Median(MeasureRepaintedSteps(
      xml, 31, [](CControlUI* list) { AsList(list)->GetBody()->PageDown(); }));
  std::wprintf(L"Page Down + repaint with 100000 rows: %.3f ms (%.2f frames of 16.7 ms)\n", page,
               page / kFrameMs);
  const double down = Median(MeasureRepaintedSteps(xml, 61, PressDown));
  std::wprintf(L"Down key (selection + 1) + repaint with 100000 rows: %.3f ms (%.2f frames)\n",
               down, down / kFrameMs);
  return 0;
}
