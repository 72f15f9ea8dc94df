// What the render engine needs from the paint manager of the window it draws for. The paint
// manager implements this interface; tests implement it with small tables of their own.
#pragma once

#include <windows.h>

namespace SkinUI {

struct TImageInfo;

class IRenderHost {
 public:
  // The image cached under `name`: the manager's own table, then the process-wide shared
  // table, else loaded (`CRenderEngine::LoadImage(name, type, mask)`) and added to the
  // manager's table. A cached image is returned whatever its mask or type. Null when it cannot
  // be loaded. `type` is null for files.
  virtual TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                                 bool useHSL) = 0;

  // The font registered under `index` (the manager's table, then the shared one); the default
  // font for a negative or unknown index.
  virtual HFONT GetFont(int index) = 0;

  // The font with exactly this look from the manager's tables; when there is none it is created
  // and added to the manager's table under a new id. `size` is the character height in pixels.
  virtual HFONT FindOrAddFont(const wchar_t* faceName, int size, bool bold, bool underline,
                              bool italic) = 0;

  // The translated string registered under `id` (skin MultiLanguage element), or null.
  virtual const wchar_t* GetMultiLanguageString(int id) = 0;

  // Default colours (ARGB) for links, hovered links and selected text backgrounds.
  virtual DWORD GetDefaultLinkFontColor() = 0;
  virtual DWORD GetDefaultLinkHoverFontColor() = 0;
  virtual DWORD GetDefaultSelectedBkColor() = 0;

  // The last mouse position in client coordinates ((-1, -1) when unknown); links under it are
  // drawn in the hover colour.
  virtual POINT GetMousePos() = 0;

  // The window's device context, used to make compatible off-screen contexts; may be null.
  virtual HDC GetPaintDC() = 0;

  virtual ~IRenderHost() = default;
};

// Something that paints itself into a device context (a control, or the window's control tree);
// used to render it into a bitmap.
class IRenderPainter {
 public:
  virtual void PaintInto(HDC dc, const RECT& rcPaint) = 0;

  virtual ~IRenderPainter() = default;
};

}  // namespace SkinUI
