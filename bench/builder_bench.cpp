// Figures of the skin builder: the setup skin and generated skins of 1,000, 10,000 and 100,000
// controls, each loaded, built, attached to a paint manager and laid out; the time per control
// at each size shows how the cost grows with the skin. Parsing the same text alone (CMarkup) is
// the baseline measured in the same run. Medians of several runs.
//   cmake --build <build> --target builder_bench
//   cmake/wine-run.sh <build> <build>/bin/builder_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/core/markup.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace {

using namespace SkinUI;

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Phases of one build, in milliseconds.
struct TRound {
  double parse = 0;   // CMarkup alone, the baseline
  double build = 0;   // CDialogBuilder::Create (parsing included)
  double attach = 0;  // CPaintManagerUI::AttachDialog (manager links, name map)
  double layout = 0;  // the first layout pass at 640 x 460
  double destroy = 0;
  int controls = 0;
};

int CountControls(CControlUI* control) {
  int count = 1;
  IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
  if (container == nullptr) return count;
  for (int i = 0; i < container->GetCount(); ++i) count += CountControls(container->GetItemAt(i));
  return count;
}

// `xml` is the markup itself, or a file in the resource folder.
TRound Measure(const std::wstring& xml) {
  TRound round;
  Clock::time_point start = Clock::now();
  {
    CMarkup markup;
    if (xml[0] == L'<') {
      static_cast<void>(markup.Load(xml.c_str()));
    } else {
      static_cast<void>(markup.LoadFromFile(xml.c_str()));
    }
  }
  round.parse = Ms(start, Clock::now());

  CPaintManagerUI manager;
  CDialogBuilder builder;
  start = Clock::now();
  CControlUI* root = builder.Create(xml.c_str(), nullptr, nullptr, &manager);
  round.build = Ms(start, Clock::now());
  if (root == nullptr) return round;
  round.controls = CountControls(root);
  start = Clock::now();
  manager.AttachDialog(root);
  round.attach = Ms(start, Clock::now());
  start = Clock::now();
  manager.UpdateLayout(RECT{0, 0, 640, 460});
  round.layout = Ms(start, Clock::now());
  start = Clock::now();
  root->Delete();
  round.destroy = Ms(start, Clock::now());
  return round;
}

// A skin of about `controls` controls: a column of rows, each row a horizontal layout of nine
// controls (fixed, stretchable and padded ones, some named), so the tree stays four levels deep
// whatever its size.
std::wstring GenerateSkin(int controls, bool named) {
  std::wstring xml = L"<Window size=\"640,460\"><VerticalLayout bkcolor=\"#FFFFFFFF\">";
  const int rows = std::max(1, controls / 10);
  int serial = 0;
  for (int row = 0; row < rows; ++row) {
    xml += L"<HorizontalLayout height=\"4\" childpadding=\"1\">";
    for (int column = 0; column < 9; ++column) {
      xml += L"<Control";
      if (named) xml += L" name=\"c" + std::to_wstring(serial++) + L"\"";
      if (column % 3 == 1) xml += L" width=\"20\" padding=\"1,0,1,0\"";
      if (column % 3 == 2) xml += L" minwidth=\"3\" bkcolor=\"#FF336699\"";
      xml += L" />";
    }
    xml += L"</HorizontalLayout>";
  }
  xml += L"</VerticalLayout></Window>";
  return xml;
}

// Prints the medians of `runs` rounds; returns the time per control in microseconds.
double Report(const wchar_t* what, const std::wstring& xml, int runs) {
  std::vector<TRound> rounds;
  for (int i = 0; i < runs; ++i) rounds.push_back(Measure(xml));
  auto median = [&](double TRound::*field) {
    std::vector<double> values;
    for (const TRound& round : rounds) values.push_back(round.*field);
    return Median(values);
  };
  const double parse = median(&TRound::parse);
  const double build = median(&TRound::build);
  const double attach = median(&TRound::attach);
  const double layout = median(&TRound::layout);
  const double destroy = median(&TRound::destroy);
  const int controls = rounds[0].controls;
  const double total = build + attach + layout;
  const double perControl = controls > 0 ? total * 1000.0 / controls : 0.0;
  std::wprintf(L"%-28ls %7d controls  build %9.2f ms  attach %8.2f ms  layout %8.2f ms  "
               L"destroy %8.2f ms  | %6.2f us/control  (parse alone %6.2f us/control, "
               L"build+layout = %5.1f x parse)\n",
               what, controls, build, attach, layout, destroy, perControl,
               controls > 0 ? parse * 1000.0 / controls : 0.0, parse > 0 ? total / parse : 0.0);
  return perControl;
}

}  // namespace

int wmain() {
  CResourceFiles::SetResourcePath(BENCH_SKIN_FOLDER);
  std::wprintf(L"Skin builder: load + build, attach to a paint manager, first layout at 640 x 460 "
               L"(medians)\n");
  Report(L"setup skin main.xml", L"main.xml", 21);
  const int sizes[] = {1000, 10000, 100000};
  double namedPerControl[3] = {};
  for (bool named : {false, true}) {
    for (int i = 0; i < 3; ++i) {
      const int size = sizes[i];
      const std::wstring label =
          std::wstring(L"generated ") + (named ? L"named " : L"unnamed ") + std::to_wstring(size);
      const int runs = size < 100000 ? 7 : 3;
      const double perControl = Report(label.c_str(), GenerateSkin(size, named), runs);
      if (named) namedPerControl[i] = perControl;
    }
  }
  std::wprintf(L"every control named: %.2f us/control at 100k against %.2f us/control at 1k = "
               L"%.2f x (goal <= 1.5 x)\n",
               namedPerControl[2], namedPerControl[0],
               namedPerControl[0] > 0 ? namedPerControl[2] / namedPerControl[0] : 0.0);
  return 0;
}
