// What a playing animation costs: a shown 640 x 460 window with the gallery's 32 x 32 spinner
// (eight frames, 80 ms each) in a GifAnim, its message loop run for ten seconds of wall time,
// against the same window with the animation paused. Figures are the process's CPU time (user +
// kernel) as a share of one core over that wall time, and the frames shown; the goal is under 1 %
// of one core for one playing animation. Medians of several runs. (The process times advance in
// steps of 10 ms under Wine, hence the long runs.)
//   cmake --build <build> --target gif_bench
//   cmake/wine-run.sh <build> <build>/bin/gif_bench.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/ui_bench_support.h"
#include "uitoolkit/controls/single/ui_gif_anim.h"
#include "uitoolkit/window/ui_window_impl_base.h"

namespace {

using namespace SkinUI;
using namespace bench;

constexpr DWORD kRunMs = 10000;
constexpr int kRuns = 3;

class AnimationWindow : public WindowImplBase {
 public:
  explicit AnimationWindow(bool play) : m_play(play) {}
  const wchar_t* GetWndClassName() const override { return L"VeskGifBenchWindow"; }
  CUiString GetSkinDir() override { return CUiString(); }
  CUiString GetSkinXml() override {
    const std::wstring xml =
        L"<Window><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"20,20,20,20\">"
        L"<GifAnim name=\"gif\" width=\"32\" height=\"32\" file=\"" BENCH_GALLERY_FOLDER
        L"\\spinner.gif\" autoplay=\"" + std::wstring(m_play ? L"true" : L"false") +
        L"\" /></VerticalLayout></Window>";
    return CUiString(xml.c_str());
  }
  CGifAnimUI* Gif() { return static_cast<CGifAnimUI*>(m_pm.FindControl(L"gif")); }

 private:
  bool m_play;
};

ULONGLONG ProcessCpu100ns() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto value = [](const FILETIME& t) {
    return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

struct TRun {
  double cpuPercent = 0;  // of one core
  int framesShown = 0;
};

TRun Run(bool play) {
  TRun run;
  AnimationWindow window(play);
  HWND hwnd = window.Create(nullptr, L"gif bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 640, 460);
  if (hwnd == nullptr) return run;
  CGifAnimUI* gif = window.Gif();
  // Settle: the first paint and the decoding are not part of the steady cost.
  MSG msg;
  const DWORD settle = ::GetTickCount();
  while (::GetTickCount() - settle < 300) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  }
  const ULONGLONG cpuStart = ProcessCpu100ns();
  const Clock::time_point start = Clock::now();
  int lastFrame = gif != nullptr ? gif->GetFrameIndex() : 0;
  while (Ms(start, Clock::now()) < kRunMs) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    if (gif != nullptr && gif->GetFrameIndex() != lastFrame) {
      lastFrame = gif->GetFrameIndex();
      ++run.framesShown;
    }
  }
  const double wallMs = Ms(start, Clock::now());
  const double cpuMs = static_cast<double>(ProcessCpu100ns() - cpuStart) / 10000.0;
  run.cpuPercent = 100.0 * cpuMs / wallMs;
  ::DestroyWindow(hwnd);
  return run;
}

// The toolkit's own work per frame, in microseconds: the frame timer's event (next frame and
// invalidation) and rendering the control's rectangle, without the window's paint cycle.
double ToolkitMicrosecondsPerFrame() {
  constexpr int kFrames = 1000;
  AnimationWindow window(true);
  HWND hwnd = window.Create(nullptr, L"gif bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 640, 460);
  CGifAnimUI* gif = hwnd != nullptr ? window.Gif() : nullptr;
  if (gif == nullptr || !gif->IsPlaying()) return 0;
  const RECT client = {0, 0, 640, 460};
  const RECT area = gif->GetPos();
  vesk::ScopedWindowDC dc(hwnd);
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < kFrames; ++i) {
    TEventUI timer;
    timer.Type = UIEVENT_TIMER;
    timer.wParam = CGifAnimUI::kFrameTimerId;
    gif->Event(timer);
    window.GetPaintManager().Render(dc.get(), client, area);
  }
  const double perFrame = Ms(start, Clock::now()) * 1000.0 / kFrames;
  ::DestroyWindow(hwnd);
  return perFrame;
}

}  // namespace

int wmain() {
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  std::vector<double> playing, paused, frames;
  for (int i = 0; i < kRuns; ++i) {
    const TRun on = Run(true);
    const TRun off = Run(false);
    playing.push_back(on.cpuPercent);
    paused.push_back(off.cpuPercent);
    frames.push_back(on.framesShown);
  }
  std::printf("GifAnim 32x32, 8 frames at 80 ms, %u ms of wall time, median of %d runs\n",
              static_cast<unsigned>(kRunMs), kRuns);
  std::printf("  playing: %.2f %% of one core, %.0f frames shown (%.1f per second)\n",
              Median(playing), Median(frames), Median(frames) * 1000.0 / kRunMs);
  std::printf("  paused:  %.2f %% of one core (the idle window)\n", Median(paused));
  std::printf("  the animation alone: %.2f %% of one core (goal: under 1 %%)\n",
              Median(playing) - Median(paused));
  const double toolkit = ToolkitMicrosecondsPerFrame();
  std::printf("  the toolkit's own work per frame (timer event and render): %.1f us, %.2f %% of "
              "one core at 12.5 frames per second\n",
              toolkit, toolkit * 12.5 / 10000.0);
  return 0;
}
