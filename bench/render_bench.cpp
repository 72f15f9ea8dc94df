// Render engine benchmark (Windows program; under Wine the absolute figures are Wine's GDI, the
// ratios are the interesting part). Each figure is the median of several runs; each ratio is
// against a baseline measured in the same run.
//
//   render_bench.exe <folder holding the setup skin images>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <stb_image.h>

#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_html_text_tokens.h"
#include "uitoolkit/core/ui_image_cache.h"
#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/ui_platform_graphics.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace {

using namespace SkinUI;

const int kRuns = 9;

// Median time of one call of `work` in microseconds, over kRuns runs of `iterations` calls.
double MedianMicroseconds(int iterations, const std::function<void()>& work) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> runs;
  work();  // warm up
  for (int run = 0; run < kRuns; ++run) {
    LARGE_INTEGER start, end;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < iterations; ++i) work();
    ::GdiFlush();
    ::QueryPerformanceCounter(&end);
    runs.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                   static_cast<double>(frequency.QuadPart) / iterations);
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

void Report(const char* what, double microseconds, const char* baseline, double baselineTime) {
  std::printf("%-52s %10.2f us   %-28s %10.2f us   ratio %6.2f\n", what, microseconds, baseline,
              baselineTime, microseconds / baselineTime);
}

std::vector<BYTE> ReadFile(const std::wstring& path) {
  std::vector<BYTE> bytes;
  vesk::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1 << 28)) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
      bytes.clear();
    }
  }
  return bytes;
}

// A 32-bit canvas with its own memory DC.
struct Canvas {
  Canvas(int width, int height)
      : bitmap(CRenderEngine::CreateARGB32Bitmap(nullptr, width, height, &bits)),
        memoryDC(::CreateCompatibleDC(nullptr)),
        select(memoryDC.get(), bitmap.get()),
        dc(memoryDC.get()),
        rect{0, 0, width, height} {}
  BYTE* bits = nullptr;
  vesk::UniqueBitmap bitmap;
  vesk::UniqueMemoryDC memoryDC;
  vesk::ScopedSelectObject select;
  HDC dc;
  RECT rect;
};

// Minimal host for the text measurements.
class BenchHost : public IRenderHost {
 public:
  BenchHost()
      : m_font(::CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, L"Tahoma")) {}

  TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                         bool useHSL) override {
    return CImageCache::GetImageEx(images, nullptr, name, type, mask, useHSL);
  }
  HFONT GetFont(int) override { return m_font.get(); }
  HFONT FindOrAddFont(const wchar_t*, int, bool, bool, bool) override { return m_font.get(); }
  const wchar_t* GetMultiLanguageString(int) override { return nullptr; }
  DWORD GetDefaultLinkFontColor() override { return 0xFF0000FF; }
  DWORD GetDefaultLinkHoverFontColor() override { return 0xFFD3215F; }
  DWORD GetDefaultSelectedBkColor() override { return 0xFFBAE4FF; }
  POINT GetMousePos() override { return POINT{-1, -1}; }
  HDC GetPaintDC() override { return nullptr; }
  CImageCache images;

 private:
  vesk::UniqueFont m_font;
};

volatile size_t g_sink;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: render_bench <folder holding the setup skin images>\n");
    return 2;
  }
  const std::wstring folder = std::wstring(argv[1]) + L"\\";
  CResourceFiles::SetResourcePath(folder.c_str());

  // Decoding: stb_image alone against the loader (decode, bitmap, premultiplication).
  const std::vector<BYTE> background = ReadFile(folder + L"background.png");
  if (background.empty()) {
    std::printf("cannot read background.png in the given folder\n");
    return 1;
  }
  const double decodeOnly = MedianMicroseconds(5, [&] {
    int width, height, channels;
    stbi_uc* pixels = stbi_load_from_memory(background.data(), static_cast<int>(background.size()),
                                            &width, &height, &channels, 4);
    stbi_image_free(pixels);
  });
  const double load = MedianMicroseconds(5, [&] {
    UniqueImage(CRenderEngine::LoadImageFromMemory(background.data(), background.size(), 0));
  });
  Report("load background.png (decode + premultiplied bitmap)", load, "stb_image decode only",
         decodeOnly);

  BenchHost host;
  Canvas canvas(640, 460);

  // Drawing a 640 x 460 opaque image: the direct copy, the stretch, the nine-slice, tiling and the
  // blend, against one plain BitBlt of the same bitmap; and the setup window's background image
  // (1920 x 1260) scaled into the window.
  std::vector<BYTE> pattern(640 * 460 * 4);
  for (size_t i = 0; i < pattern.size(); i += 4) {
    pattern[i] = static_cast<BYTE>(i / 4 % 640);
    pattern[i + 1] = static_cast<BYTE>(i / 4 / 640);
    pattern[i + 2] = 128;
    pattern[i + 3] = 255;
  }
  TImageInfo* image =
      host.images.Add(L"opaque", CRenderEngine::LoadImageFromPixels(pattern.data(), 640, 460, 0));
  if (image == nullptr || image->alpha) {
    std::printf("cannot make the opaque image\n");
    return 1;
  }
  double bitBlt;
  {
    vesk::UniqueMemoryDC source(::CreateCompatibleDC(nullptr));
    vesk::ScopedSelectObject select(source.get(), image->bitmap);
    bitBlt = MedianMicroseconds(50, [&] {
      ::BitBlt(canvas.dc, 0, 0, image->width, image->height, source.get(), 0, 0, SRCCOPY);
    });
  }
  const RECT imageRect{0, 0, image->width, image->height};
  struct Case {
    const char* name;
    const wchar_t* description;
    RECT control;
  };
  const Case cases[] = {
      {"DrawImage unscaled (direct copy)", L"opaque", imageRect},
      {"DrawImage stretched to 800 x 600", L"opaque", RECT{0, 0, 800, 600}},
      {"DrawImage nine-slice corner 8", L"file='opaque' corner='8,8,8,8'", imageRect},
      {"DrawImage tiled middle (64 px tiles)",
       L"file='opaque' source='0,0,64,64' xtiled='true' ytiled='true'", imageRect},
      {"DrawImage faded (blend path)", L"file='opaque' fade='200'", imageRect},
      {"DrawImage background.png 1920x1260 into 640x460", L"background.png", imageRect},
  };
  Canvas large(800, 600);
  for (const Case& row : cases) {
    TDrawInfo info(row.description);
    const double time = MedianMicroseconds(50, [&] {
      CRenderEngine::DrawImage(large.dc, &host, row.control, row.control, info);
    });
    Report(row.name, time, "BitBlt 640 x 460", bitBlt);
  }

  // The own blend against the platform's AlphaBlend on the same faded drawing.
  TDrawInfo faded(L"file='opaque' fade='200'");
  const double platformBlend = MedianMicroseconds(20, [&] {
    CRenderEngine::DrawImage(canvas.dc, &host, imageRect, imageRect, faded);
  });
  static TPlatformGraphics ownBlend;
  ownBlend = {&OwnAlphaBlend, GetPlatformGraphics().gradientFill};
  double own;
  {
    vesk::ScopedOverride useOwnBlend(
        g_platformGraphics, []() -> const TPlatformGraphics& { return ownBlend; });
    own = MedianMicroseconds(20, [&] {
      CRenderEngine::DrawImage(canvas.dc, &host, imageRect, imageRect, faded);
    });
  }
  Report("own blend, 640 x 460 faded", own, "msimg32 AlphaBlend", platformBlend);

  // Colours: opaque fill against translucent blend.
  const double opaque =
      MedianMicroseconds(200, [&] { CRenderEngine::DrawColor(canvas.dc, canvas.rect, 0xFFE4E4E4); });
  const double translucent =
      MedianMicroseconds(200, [&] { CRenderEngine::DrawColor(canvas.dc, canvas.rect, 0x80E4E4E4); });
  Report("DrawColor translucent 640 x 460", translucent, "DrawColor opaque", opaque);

  // Descriptions: parsing against copying the text.
  const wchar_t* description =
      L"file='autostart_check_box.png' source='0,0,92,32' corner='4,4,4,4' fade='200' hole='false'";
  const double parse = MedianMicroseconds(20000, [&] {
    TImageDescription parsed;
    ParseImageDescription(description, parsed);
    g_sink = static_cast<size_t>(parsed.imageName.GetLength());
  });
  const double copy = MedianMicroseconds(20000, [&] {
    CUiString text(description);
    g_sink = static_cast<size_t>(text.GetLength());
  });
  Report("ParseImageDescription (6 entries)", parse, "copy into a CUiString", copy);

  // Text: the markup renderer against the platform's DrawText on the same plain text.
  const wchar_t* text = L"vesk.helm installs in a moment and starts when you sign in";
  const double plain = MedianMicroseconds(200, [&] {
    RECT rc = {0, 0, 640, 40};
    CRenderEngine::DrawText(canvas.dc, &host, rc, text, 0xFF000000, 0, DT_SINGLELINE | DT_VCENTER);
  });
  const double html = MedianMicroseconds(200, [&] {
    RECT rc = {0, 0, 640, 40};
    int links = 0;
    CRenderEngine::DrawHtmlText(canvas.dc, &host, rc, text, 0xFF000000, nullptr, nullptr, links, 0,
                                DT_SINGLELINE | DT_VCENTER);
  });
  Report("DrawHtmlText, 58 characters without tags", html, "DrawText", plain);
  const double htmlTags = MedianMicroseconds(200, [&] {
    RECT rc = {0, 0, 640, 40};
    int links = 0;
    CRenderEngine::DrawHtmlText(canvas.dc, &host, rc,
                                L"<b>vesk.helm</b> installs in <c #FF0000FF>a moment</c> and "
                                L"<a x>starts</a> when you sign in",
                                0xFF000000, nullptr, nullptr, links, 0, DT_SINGLELINE | DT_VCENTER);
  });
  Report("DrawHtmlText, same text with 3 tags", htmlTags, "DrawText", plain);
  return 0;
}
