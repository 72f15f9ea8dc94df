// Drawing on a device context: images (nine-slice, tiled, faded), colours, gradients, lines,
// rectangles and text; decoded images; and clip regions during painting. Rectangles are window
// coordinates with exclusive right and bottom edges.
#pragma once

#include <windows.h>

#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/core/string_or_id.h"
#include "uitoolkit/core/ui_render_host.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// One decoded image, owned by an image table.
struct TImageInfo {
  HBITMAP bitmap = nullptr;       // 32-bit top-down device-independent bitmap
  BYTE* bits = nullptr;           // its pixels, premultiplied BGRA, width * height * 4 bytes
  BYTE* sourceBits = nullptr;     // the decoded pixels as straight BGRA, kept only for HSL images
  int width = 0;
  int height = 0;
  bool alpha = false;             // some pixel is not fully opaque (or was masked)
  bool useHSL = false;            // takes part in the global colour adjustment
  CUiString resourceType;         // the type it was loaded with; empty for files
  DWORD mask = 0;                 // the mask colour it was loaded with
};

// One image description as a control uses it: parsed on first use, then drawn from the cached
// image.
struct TDrawInfo {
  TDrawInfo() { Clear(); }
  explicit TDrawInfo(const wchar_t* description) {
    Clear();
    drawString = description;
  }
  // Resets every field to its initial value.
  void Clear();

  CUiString drawString;   // the description as written in the skin
  CUiString imageName;    // the name the image is cached under
  bool loaded;            // a load has been attempted
  TImageInfo* image;      // the cached image, not owned
  RECT destination;       // relative to the control's top-left; all 0 = the whole control
  RECT source;            // part of the image; all 0 = the whole image
  RECT corner;            // widths of the unstretched borders
  BYTE fade;              // constant alpha
  bool hole;              // leave out the middle
  bool xTiled;            // tile the middle horizontally
  bool yTiled;            // tile the middle vertically
};

// A clip region in force while a part of the window is painted. Destroying it selects the region
// that was in force before and deletes both.
class CRenderClip {
 public:
  CRenderClip() = default;
  ~CRenderClip();
  CRenderClip(const CRenderClip&) = delete;
  CRenderClip& operator=(const CRenderClip&) = delete;

  // Clips to the intersection of `rc` and the clip in force.
  static void GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip);
  // Clips to the intersection of the clip in force, `rcPaint` and the rounded rectangle from
  // (rcItem.left, rcItem.top) to (rcItem.right + 1, rcItem.bottom + 1) with a corner ellipse of
  // `width` x `height`.
  static void GenerateRoundClip(HDC hDC, const RECT& rcPaint, const RECT& rcItem, int width,
                                int height, CRenderClip& clip);
  // Temporarily selects the region that was in force before the clip, and the clip again.
  static void UseOldClipBegin(HDC hDC, CRenderClip& clip);
  static void UseOldClipEnd(HDC hDC, CRenderClip& clip);

  RECT rcItem = {0, 0, 0, 0};
  HDC hDC = nullptr;
  vesk::UniqueRegion hRgn;     // the clip in force
  vesk::UniqueRegion hOldRgn;  // the region before it; empty when there was no clip region

 private:
  // Selects the old region again and deletes both.
  void Release();
};

class CRenderEngine {
 public:
  // Unchanged for (180, 100, 100); otherwise hue shifted by (hue - 180) degrees, saturation and
  // lightness scaled by the percentages.
  static DWORD AdjustColor(DWORD color, short hue, short saturation, short lightness);

  // Loads and decodes an image: a module resource of `type` (from the resource module, see
  // ui_image_sources.h); the colour marker "*COLOR*" for a one-pixel image of the colour written
  // in `bitmap`; otherwise the file of the resource folder (or the entry of the resource zip),
  // then `bitmap` as a plain path. `useHSL` keeps a copy of the decoded pixels for the global
  // colour adjustment. Returns a new image or null.
  [[nodiscard]] static TImageInfo* LoadImage(STRINGorID bitmap, const wchar_t* type = nullptr, DWORD mask = 0,
                               bool useHSL = false);
  // The undecoded bytes of an image file found as LoadImage finds it (without the colour
  // marker); false when there is none.
  static bool ReadImageData(STRINGorID bitmap, const wchar_t* type, std::vector<BYTE>& data);
  // Decodes image file bytes (PNG, JPEG, BMP, GIF, ...) into a new image; null when they cannot
  // be decoded.
  [[nodiscard]] static TImageInfo* LoadImageFromMemory(const BYTE* data, size_t size, DWORD mask,
                                         bool keepSourceBits = false);
  // Makes a new image of `width` x `height` RGBA pixels (8 bits per channel): premultiplied,
  // pixels equal to `mask` made transparent.
  [[nodiscard]] static TImageInfo* LoadImageFromPixels(const BYTE* rgba, int width, int height, DWORD mask,
                                         bool keepSourceBits = false);
  // Deletes the bitmap and the source copy, and the record itself when asked.
  static void FreeImage(TImageInfo* info, bool deleteSelf = true);
  // Recomputes an HSL image's pixels from its source copy: adjusted with AdjustColor when
  // `useHSL`, else restored.
  static void AdjustImage(bool useHSL, TImageInfo* info, short hue, short saturation,
                          short lightness);

  // A 32-bit top-down bitmap and its pixel pointer; null when it cannot be made.
  [[nodiscard]] static HBITMAP CreateARGB32Bitmap(HDC hDC, int width, int height, BYTE** bits);

  // The bitmap core: draws `rcBmpPart` of `hBitmap` into `rc` as a nine-slice with unscaled
  // borders `rcCorners`, limited to `rcPaint`. `alphaChannel` blends by the pixels' alpha;
  // `fade` is a constant alpha.
  static void DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                        const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                        BYTE fade = 255, bool hole = false, bool xTiled = false,
                        bool yTiled = false);
  // Draws a description into a control's rectangle `rcItem`, limited to `rcPaint`. Parses it
  // and fetches the image on first use; with a null `hDC` it only loads. Returns false when the
  // image cannot be obtained (then it is not tried again). Without a manager nothing happens.
  static bool DrawImage(HDC hDC, IRenderHost* manager, const RECT& rcItem, const RECT& rcPaint,
                        TDrawInfo& drawInfo);

  // Nothing for alpha 0; an opaque colour fills `rc`; a translucent one is blended over it.
  static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
  // Two-colour linear gradient, `first` at the top (vertical) or left. Without the platform's
  // gradient fill, 2^k solid bands, k from `steps`.
  static void DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                           int steps);
  // A pen of width `size` from (left, top) to (right, bottom).
  static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
  // Outline drawn inside `rc`, no fill.
  static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD color, int style = PS_SOLID);
  static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                            DWORD color, int style = PS_SOLID);

  // Plain text with multi-language tokens replaced, in the manager's font `font`, with the
  // platform's text-drawing `style` bits (plus no-prefix). With DT_CALCRECT `rc` is measured
  // (an empty extent without text or manager).
  static void DrawText(HDC hDC, IRenderHost* manager, RECT& rc, const wchar_t* text, DWORD color,
                       int font, UINT style);
  // Text with inline tags (see ui_html_text_tokens.h). Link rectangles and texts are recorded
  // into `linkRects`/`linkTexts`, at most `linkCount` of them; `linkCount` receives the number
  // recorded. With DT_CALCRECT `rc` is measured (an empty extent without text or manager) and
  // nothing is drawn or recorded.
  static void DrawHtmlText(HDC hDC, IRenderHost* manager, RECT& rc, const wchar_t* text,
                           DWORD color, RECT* linkRects, CUiString* linkTexts, int& linkCount,
                           int font, UINT style);
  // Extent of the text in the manager's font `font`, after multi-language replacement.
  static SIZE GetTextSize(HDC hDC, IRenderHost* manager, const wchar_t* text, int font,
                          UINT style);

  // Renders `painter` (a control or the window's tree) for the window area `rc` into a new
  // 32-bit bitmap of that size; a `filterColor` with alpha is blended over the result.
  [[nodiscard]] static HBITMAP GenerateBitmap(IRenderHost* manager, IRenderPainter* painter, const RECT& rc,
                                DWORD filterColor = 0);
};

// Owner of an image record that belongs to no image table (freed with CRenderEngine::FreeImage).
struct ImageRecordTraits {
  using Handle = TImageInfo*;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle image) noexcept { CRenderEngine::FreeImage(image); }
};
using UniqueImage = vesk::UniqueHandle<ImageRecordTraits>;

}  // namespace SkinUI
