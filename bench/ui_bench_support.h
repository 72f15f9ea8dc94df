// What the toolkit's control benchmarks share: timing, a hidden window for the managers to
// measure and paint with, and timing a step followed by a repaint of the whole client area.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/window/ui_dialog_builder.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace bench {

using Clock = std::chrono::steady_clock;
constexpr double kFrameMs = 1000.0 / 60.0;
const RECT kClient = {0, 0, 640, 460};

inline double Ms(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

inline HWND BenchWindow() {
  static HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 640, 460, nullptr,
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr);
  return window;
}

// Builds `xml` and lays it out at kClient, then times `count` rounds of `step` (given the
// control named `name`) followed by a repaint of the whole client area, in milliseconds.
inline std::vector<double> MeasureRepaintedSteps(
    const std::wstring& xml, int count, const std::function<void(SkinUI::CControlUI*)>& step,
    const wchar_t* name = L"list") {
  std::vector<double> times;
  SkinUI::CPaintManagerUI manager;
  manager.Init(BenchWindow());
  SkinUI::CDialogBuilder builder;
  SkinUI::CControlUI* root = builder.Create(xml.c_str(), nullptr, nullptr, &manager);
  if (root == nullptr) return times;
  manager.AttachDialog(root);
  manager.UpdateLayout(kClient);
  SkinUI::CControlUI* list = manager.FindControl(name);
  vesk::ScopedWindowDC screen(nullptr);
  vesk::UniqueMemoryDC dc(::CreateCompatibleDC(screen.get()));
  vesk::UniqueBitmap bitmap(::CreateCompatibleBitmap(screen.get(), 640, 460));
  {
    vesk::ScopedSelectObject select(dc.get(), bitmap.get());
    manager.Render(dc.get(), kClient, kClient);
    for (int i = 0; i < count; ++i) {
      const Clock::time_point start = Clock::now();
      step(list);
      manager.Render(dc.get(), kClient, kClient);
      ::GdiFlush();
      times.push_back(Ms(start, Clock::now()));
    }
  }
  root->Delete();
  return times;
}

}  // namespace bench
