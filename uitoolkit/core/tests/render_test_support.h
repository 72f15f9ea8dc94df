// Helpers of the render engine tests: an off-screen 32-bit canvas whose pixels can be read back
// and compared with golden images, a paint-manager stand-in with small tables, and the paths of
// the test images.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uitoolkit/core/ui_image_cache.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_render_host.h"

namespace SkinUI {
namespace testing {

// A top-down 32-bit device-independent bitmap selected into its own memory device context.
class TestCanvas {
 public:
  TestCanvas(int width, int height, DWORD fillColor = 0xFFFFFFFF);
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  HDC dc() const { return m_dc.get(); }
  int width() const { return m_width; }
  int height() const { return m_height; }
  RECT rect() const { return RECT{0, 0, m_width, m_height}; }

  // Fills every pixel with the colour (0xRRGGBB; alpha is set to 255).
  void Fill(DWORD color);
  // Copies the bitmap's top-left part of the canvas's size onto the canvas.
  void CopyBitmap(HBITMAP bitmap);
  // The colour at (x, y) as 0xRRGGBB (the alpha byte is left out).
  DWORD Pixel(int x, int y) const;
  // The whole pixel, alpha included, as 0xAARRGGBB.
  DWORD RawPixel(int x, int y) const;
  // Number of pixels in `area` whose colour differs from `color`.
  int CountOtherThan(const RECT& area, DWORD color) const;
  // True when both canvases hold the same colours (alpha left out).
  bool SameColors(const TestCanvas& other) const;
  // The canvas as a PNG (alpha set to 255).
  std::string EncodePng() const;
  // A canvas holding the PNG file's pixels, or null when the bytes are no PNG.
  static std::unique_ptr<TestCanvas> DecodePng(const std::string& png);

 private:
  int m_width;
  int m_height;
  vesk::UniqueBitmap m_bitmap;
  vesk::UniqueMemoryDC m_dc;
  std::optional<vesk::ScopedSelectObject> m_select;
  std::uint32_t* m_bits = nullptr;
};

// Compares the canvas with the golden image `name` (a PNG next to the tests), allowing each
// colour channel to differ by `tolerance`. With the environment variable VESK_UPDATE_GOLDENS
// set, the golden image is written instead. A mismatching canvas is saved in the temporary
// folder for inspection.
::testing::AssertionResult MatchesGolden(const TestCanvas& canvas, const std::string& name,
                                         int tolerance = 2);

// The largest difference of one colour channel between two GDI pixels (0x00BBGGRR).
int ChannelDistance(DWORD a, DWORD b);

// Names the folders of the golden images and of the test images (full Windows paths) for a test
// program that links these helpers from a library; answers true, so that it can initialise a
// constant before the tests run.
bool SetRenderTestFolders(const std::wstring& goldenFolder, const std::wstring& imageFolder);

// Full Windows path of a test image.
std::wstring TestImagePath(const std::wstring& name);
// Full Windows path of the folder holding the test images, ending in a backslash.
std::wstring TestImageFolder();

// Paint-manager stand-in: an image table (with an optional shared table), fonts by index,
// translated strings, default colours and a mouse position.
class TestRenderHost : public IRenderHost {
 public:
  TestRenderHost();
  ~TestRenderHost() override;

  TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                         bool useHSL) override;
  HFONT GetFont(int index) override;
  HFONT FindOrAddFont(const wchar_t* faceName, int size, bool bold, bool underline,
                      bool italic) override;
  const wchar_t* GetMultiLanguageString(int id) override;
  DWORD GetDefaultLinkFontColor() override { return linkColor; }
  DWORD GetDefaultLinkHoverFontColor() override { return linkHoverColor; }
  DWORD GetDefaultSelectedBkColor() override { return selectedColor; }
  POINT GetMousePos() override { return mouse; }
  HDC GetPaintDC() override { return nullptr; }

  // Registers a font under `index` (replacing one registered before).
  HFONT AddFont(int index, const wchar_t* faceName, int size, bool bold = false,
                bool underline = false, bool italic = false);

  CImageCache images;
  CImageCache* sharedImages = nullptr;
  int imageRequests = 0;  // GetImageEx calls
  std::map<int, std::wstring> strings;
  std::vector<std::wstring> fontRequests;  // FindOrAddFont calls: "face size b u i"
  DWORD linkColor = 0xFF0000FF;
  DWORD linkHoverColor = 0xFFD3215F;
  DWORD selectedColor = 0xFFBAE4FF;
  POINT mouse = {-1, -1};

 private:
  struct Font {
    vesk::UniqueFont font;
    std::wstring face;
    int size;
    bool bold, underline, italic;
  };
  std::map<int, Font> m_fonts;
  vesk::UniqueFont m_defaultFont;
  int m_nextFontId = 20000;
};

}  // namespace testing
}  // namespace SkinUI
