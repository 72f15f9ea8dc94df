// Figures of the first frame of the setup window: from the skin text in memory to the first
// frame painted (skin built, tree attached, laid out and painted), both into a real window
// (WindowImplBase: creation, skin, WM_PAINT through the off-screen buffer) and off-screen
// (CPaintManagerUI::RenderToBitmap, by phase). Each is measured with the skin's images already
// decoded (held in the shared image table) and with their decoding included. The goal is one
// 60 Hz frame, 16.7 ms. Medians of several runs.
//   cmake --build <build> --target window_bench
//   cmake/wine-run.sh <build> <build>/bin/window_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/window/ui_dialog_builder.h"
#include "uitoolkit/window/ui_window_impl_base.h"

namespace {

using namespace SkinUI;

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 15;
constexpr double kFrameMs = 1000.0 / 60.0;

double Ms(Clock::time_point start, Clock::time_point end) {
  return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The setup skin as text, without its byte-order mark.
std::wstring ReadSkin() {
  const std::wstring path = std::wstring(BENCH_SKIN_FOLDER) + L"\\main.xml";
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::wstring();
  std::string bytes(static_cast<std::size_t>(::GetFileSize(file, nullptr)), '\0');
  DWORD read = 0;
  ::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  ::CloseHandle(file);
  std::wstring text(bytes.size(), L'\0');
  text.resize(static_cast<std::size_t>(::MultiByteToWideChar(
      CP_UTF8, 0, bytes.data(), static_cast<int>(read), text.data(), static_cast<int>(text.size()))));
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  return text;
}

class BenchWindow : public WindowImplBase {
 public:
  explicit BenchWindow(const std::wstring& skin) : m_skin(skin) {}
  const wchar_t* GetWndClassName() const override { return L"VeskWindowBench"; }
  CUiString GetSkinDir() override { return CUiString(); }
  CUiString GetSkinXml() override { return CUiString(m_skin.c_str()); }

 private:
  const std::wstring& m_skin;
};

// Every image of the skin folder decoded into the shared table, so builds find them there.
void DecodeImagesShared() {
  CPaintManagerUI loader;
  WIN32_FIND_DATAW data;
  const std::wstring pattern = std::wstring(BENCH_SKIN_FOLDER) + L"\\*.png";
  HANDLE find = ::FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    loader.AddImage(data.cFileName, nullptr, 0, false, true);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

void DrainMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Window creation with the skin to the first WM_PAINT done.
double MeasureWindow(const std::wstring& skin) {
  BenchWindow window(skin);
  const Clock::time_point start = Clock::now();
  HWND hwnd = window.Create(nullptr, L"VeskWindowBench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 640, 460);
  ::UpdateWindow(hwnd);
  ::GdiFlush();
  const double ms = Ms(start, Clock::now());
  ::DestroyWindow(hwnd);
  DrainMessages();
  return ms;
}

struct TPhases {
  double build = 0;
  double attach = 0;
  double paint = 0;  // first layout and paint into a 640 x 460 bitmap
  double total = 0;
};

TPhases MeasureOffscreen(const std::wstring& skin) {
  TPhases phases;
  CPaintManagerUI manager;
  const Clock::time_point start = Clock::now();
  CDialogBuilder builder;
  CControlUI* root = builder.Create(STRINGorID(skin.c_str()), nullptr, nullptr, &manager);
  const Clock::time_point built = Clock::now();
  manager.AttachDialog(root);
  const Clock::time_point attached = Clock::now();
  HBITMAP frame = manager.RenderToBitmap(RECT{0, 0, 640, 460});
  ::GdiFlush();
  const Clock::time_point painted = Clock::now();
  if (frame != nullptr) ::DeleteObject(frame);
  phases.build = Ms(start, built);
  phases.attach = Ms(built, attached);
  phases.paint = Ms(attached, painted);
  phases.total = Ms(start, painted);
  return phases;
}

void Report(const wchar_t* label, bool decoded, const std::wstring& skin) {
  std::vector<double> window, build, attach, paint, total;
  for (int run = 0; run < kRuns; ++run) {
    if (!decoded) CPaintManagerUI().RemoveAllImages(true);
    window.push_back(MeasureWindow(skin));
    if (!decoded) CPaintManagerUI().RemoveAllImages(true);
    const TPhases phases = MeasureOffscreen(skin);
    build.push_back(phases.build);
    attach.push_back(phases.attach);
    paint.push_back(phases.paint);
    total.push_back(phases.total);
  }
  const double windowMs = Median(window);
  const double totalMs = Median(total);
  std::wprintf(L"%ls\n", label);
  std::wprintf(L"  window: create, skin, first WM_PAINT  %7.2f ms  (%.2f frames of 16.7 ms)\n",
               windowMs, windowMs / kFrameMs);
  std::wprintf(L"  off-screen: build %.2f + attach %.2f + layout and paint %.2f = %.2f ms"
               L"  (%.2f frames)\n",
               Median(build), Median(attach), Median(paint), totalMs, totalMs / kFrameMs);
}

}  // namespace

int wmain() {
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  CResourceFiles::SetResourcePath(BENCH_SKIN_FOLDER);
  const std::wstring skin = ReadSkin();
  if (skin.empty()) {
    std::fwprintf(stderr, L"cannot read %ls\\main.xml\n", BENCH_SKIN_FOLDER);
    return 1;
  }
  std::wprintf(L"Setup skin, skin text in memory to first frame painted, median of %d runs\n",
               kRuns);
  Report(L"images decoded during the build:", false, skin);
  DecodeImagesShared();
  MeasureWindow(skin);  // warm-up with the shared images
  Report(L"images already decoded:", true, skin);
  return 0;
}
