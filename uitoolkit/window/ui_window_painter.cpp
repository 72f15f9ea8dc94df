#include "uitoolkit/window/ui_window_painter.h"

#include <algorithm>

#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {
namespace {

constexpr UINT_PTR kLayeredTimerId = 0x2000;

typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);

UpdateLayeredWindowProc GetUpdateLayeredWindow() {
  static const UpdateLayeredWindowProc proc = reinterpret_cast<UpdateLayeredWindowProc>(
      reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
  return proc;
}

RECT ClientRectOf(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  return client;
}

RECT Deflated(RECT rc, const RECT& inset) {
  rc.left += inset.left;
  rc.top += inset.top;
  rc.right -= inset.right;
  rc.bottom -= inset.bottom;
  return rc;
}

// The position of `child` in the client coordinates of `parent`.
RECT ChildRect(HWND parent, HWND child) {
  RECT rc = {};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// A 32-bit bitmap selected into a new memory context; empty when either cannot be made.
struct TBitmapCanvas {
  vesk::UniqueBitmap bitmap;
  vesk::UniqueMemoryDC dc;
  std::uint32_t* pixels = nullptr;

  TBitmapCanvas(HDC reference, int width, int height) {
    BYTE* bits = nullptr;
    bitmap.reset(CRenderEngine::CreateARGB32Bitmap(reference, width, height, &bits));
    dc.reset(::CreateCompatibleDC(reference));
    if (!bitmap || !dc || bits == nullptr) return;
    ::SelectObject(dc.get(), bitmap.get());
    pixels = reinterpret_cast<std::uint32_t*>(bits);
  }
  explicit operator bool() const { return pixels != nullptr; }
};

void FillRows(std::uint32_t* pixels, int width, const RECT& area, std::uint32_t value) {
  for (int y = area.top; y < area.bottom; ++y) {
    std::fill(pixels + y * width + area.left, pixels + y * width + area.right, value);
  }
}

}  // namespace

// ---- Buffered painting ----

// The steps of one WM_PAINT: without a tree, black; else find the area, lay out (a layered
// window's first layout waits for the next frame), make the buffer, paint and show it.
bool CWindowPainter::Paint() {
  if (m_manager.m_pRoot == nullptr) return PaintWithoutRoot();
  const HWND window = m_manager.m_hWndPaint;
  const RECT rcClient = ClientRectOf(window);
  RECT rcPaint = {};
  if (!FindPaintArea(rcClient, rcPaint)) return true;
  if (m_manager.m_bFocusNeeded) m_manager.GiveNeededFocus();
  if (!LayOutBeforePaint(rcClient)) return true;
  MakeOffscreenBuffer(rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
  PAINTSTRUCT ps = {};
  HDC windowDC = ::BeginPaint(window, &ps);
  if (m_bLayered) ps.rcPaint = rcPaint;
  if (!m_hDcOffscreen) {
    m_manager.Render(windowDC, rcClient, ps.rcPaint);
  } else if (m_bLayered) {
    PaintLayered(rcClient);
  } else {
    PaintBuffered(windowDC, rcClient, ps.rcPaint);
  }
  if (m_manager.m_bShowUpdateRect && !m_bLayered) ShowUpdateRect(windowDC, ps.rcPaint);
  ::EndPaint(window, &ps);
  m_manager.m_bPainting = false;
  m_bLayeredChanged = false;
  // A focus change deferred to "after the layout" was asked for before BeginPaint validated the
  // window, so it needs one more paint.
  if (m_manager.m_bUpdateNeeded || m_manager.m_bFocusNeeded) {
    ::InvalidateRect(window, nullptr, FALSE);
  }
  return true;
}

bool CWindowPainter::PaintWithoutRoot() {
  PAINTSTRUCT ps = {};
  HDC dc = ::BeginPaint(m_manager.m_hWndPaint, &ps);
  CRenderEngine::DrawColor(dc, ps.rcPaint, 0xFF000000);
  ::EndPaint(m_manager.m_hWndPaint, &ps);
  return true;
}

// False when there is nothing to paint (the window is validated then).
bool CWindowPainter::FindPaintArea(const RECT& rcClient, RECT& rcPaint) {
  const HWND window = m_manager.m_hWndPaint;
  if (!m_bLayered) return ::GetUpdateRect(window, &rcPaint, FALSE) != FALSE;
  m_bOffscreenPaint = true;
  ::IntersectRect(&rcPaint, &m_rcLayeredUpdate, &rcClient);
  if (!::IsRectEmpty(&rcPaint)) return true;
  ::ValidateRect(window, nullptr);
  return false;
}

// False when the paint ends here: a layered window's first frame is painted by the next paint.
bool CWindowPainter::LayOutBeforePaint(const RECT& rcClient) {
  if (!m_manager.m_bUpdateNeeded) return true;
  const RECT rcLayout = m_bLayered ? Deflated(rcClient, m_rcLayeredInset) : rcClient;
  if (!::IsRectEmpty(&rcClient) && m_manager.m_pRoot->IsUpdateNeeded()) DiscardBuffers();
  const bool firstLayout = m_manager.m_bFirstLayout;
  m_manager.m_bPainting = true;
  m_manager.UpdateLayout(rcLayout);
  m_manager.m_bPainting = false;
  if (!(firstLayout && m_bLayered)) return true;
  m_rcLayeredUpdate = rcClient;
  ::ValidateRect(m_manager.m_hWndPaint, nullptr);
  return false;
}

void CWindowPainter::MakeOffscreenBuffer(int width, int height) {
  if (!m_bOffscreenPaint || m_hDcOffscreen || width <= 0 || height <= 0) return;
  const HDC reference = m_manager.m_hDcPaint;
  m_hDcOffscreen.reset(::CreateCompatibleDC(reference));
  if (m_bLayered) {
    BYTE* bits = nullptr;
    m_hbmpOffscreen.reset(CRenderEngine::CreateARGB32Bitmap(reference, width, height, &bits));
    m_pOffscreenBits = reinterpret_cast<std::uint32_t*>(bits);
  } else {
    m_hbmpOffscreen.reset(::CreateCompatibleBitmap(reference, width, height));
  }
  if (m_hDcOffscreen && m_hbmpOffscreen) {
    ::SelectObject(m_hDcOffscreen.get(), m_hbmpOffscreen.get());
  } else {
    DiscardBuffers();
  }
}

void CWindowPainter::PaintBuffered(HDC windowDC, const RECT& rcClient, const RECT& rcPaint) {
  m_manager.Render(m_hDcOffscreen.get(), rcClient, rcPaint);
  ::BitBlt(windowDC, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left,
           rcPaint.bottom - rcPaint.top, m_hDcOffscreen.get(), rcPaint.left, rcPaint.top,
           SRCCOPY);
}

void CWindowPainter::ShowUpdateRect(HDC windowDC, const RECT& rcPaint) {
  static const vesk::UniqueGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
  vesk::ScopedSelectObject selectPen(windowDC, pen.get());
  vesk::ScopedSelectObject selectBrush(windowDC, ::GetStockObject(HOLLOW_BRUSH));
  ::Rectangle(windowDC, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
}

void CWindowPainter::DiscardBuffers() {
  // Each context goes before the bitmap selected into it.
  m_hDcOffscreen.reset();
  m_hbmpOffscreen.reset();
  m_pOffscreenBits = nullptr;
  m_hDcBackground.reset();
  m_hbmpBackground.reset();
  m_pBackgroundBits = nullptr;
}

// ---- Printing ----

void CWindowPainter::PrintClient(HDC hDC, LPARAM flags) {
  if (m_manager.m_pRoot == nullptr || hDC == nullptr) return;
  const HWND window = m_manager.m_hWndPaint;
  const RECT client = ClientRectOf(window);
  m_manager.Render(hDC, client, client);
  if ((flags & PRF_CHILDREN) == 0) return;
  for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const RECT rcChild = ChildRect(window, child);
    POINT origin = {};
    ::SetWindowOrgEx(hDC, -rcChild.left, -rcChild.top, &origin);
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(hDC),
                   PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_NONCLIENT);
    ::SetWindowOrgEx(hDC, origin.x, origin.y, nullptr);
  }
}

// ---- Layered painting ----

// The steps of one layered frame: the tree with its coverage as alpha, the native children,
// the layered image's shape, then the update of the window.
void CWindowPainter::PaintLayered(const RECT& rcClient) {
  if (m_pOffscreenBits == nullptr) return;
  RECT rcPaint = {};
  ::IntersectRect(&rcPaint, &m_rcLayeredUpdate, &rcClient);
  RenderWithCoverage(rcClient, rcPaint);
  PrintNativeChildren();
  ApplyLayeredImage(rcClient);
  UpdateLayeredWindow(rcClient.right - rcClient.left, rcClient.bottom - rcClient.top);
  m_rcLayeredUpdate = RECT{0, 0, 0, 0};
}

void CWindowPainter::RenderWithCoverage(const RECT& rcClient, const RECT& rcPaint) {
  // GDI leaves the alpha byte of what it draws at 0, which would make every control drawn with
  // it invisible. So the area is painted over black here and over white in a second buffer;
  // where both agree the pixel is opaque, and the difference gives the coverage of translucent
  // drawing. Painted over black, the colours are already premultiplied as the layered update
  // wants them.
  const int width = rcClient.right - rcClient.left;
  std::uint32_t* pixels = m_pOffscreenBits;
  TBitmapCanvas white(m_manager.m_hDcPaint, width, rcClient.bottom - rcClient.top);
  FillRows(pixels, width, rcPaint, 0u);
  if (white) FillRows(white.pixels, width, rcPaint, 0xFFFFFFu);
  m_manager.Render(m_hDcOffscreen.get(), rcClient, rcPaint);
  if (!white) return;
  m_manager.Render(white.dc.get(), rcClient, rcPaint);
  ::GdiFlush();
  for (int y = rcPaint.top; y < rcPaint.bottom; ++y) {
    for (int x = rcPaint.left; x < rcPaint.right; ++x) {
      std::uint32_t& pixel = pixels[y * width + x];
      const std::uint32_t overWhite = white.pixels[y * width + x];
      const int difference = static_cast<int>((overWhite >> 8) & 0xFF) -
                             static_cast<int>((pixel >> 8) & 0xFF);
      const std::uint32_t alpha = static_cast<std::uint32_t>(255 - std::clamp(difference, 0, 255));
      pixel = (pixel & 0x00FFFFFFu) | (alpha << 24);
    }
  }
}

// Native child windows are printed into the frame; their painted pixels become opaque.
void CWindowPainter::PrintNativeChildren() {
  for (const auto& native : m_manager.m_aNativeWindows) {
    HWND child = native.first;
    if (!::IsWindowVisible(child)) continue;
    const RECT rcChild = ChildRect(m_manager.m_hWndPaint, child);
    const int childWidth = rcChild.right - rcChild.left;
    const int childHeight = rcChild.bottom - rcChild.top;
    if (childWidth <= 0 || childHeight <= 0) continue;
    TBitmapCanvas canvas(m_manager.m_hDcPaint, childWidth, childHeight);
    if (!canvas) continue;
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.get()),
                   PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_OWNED);
    for (int i = 0; i < childWidth * childHeight; ++i) {
      if (canvas.pixels[i] != 0) canvas.pixels[i] |= 0xFF000000u;
    }
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(m_hDcOffscreen.get(), rcChild.left, rcChild.top, childWidth, childHeight,
                    canvas.dc.get(), 0, 0, childWidth, childHeight, blend);
  }
}

// The layered image's alpha shapes the window: each pixel's channels are scaled by it.
void CWindowPainter::ApplyLayeredImage(const RECT& rcClient) {
  if (m_sLayeredImage.IsEmpty()) return;
  const int width = rcClient.right - rcClient.left;
  const int height = rcClient.bottom - rcClient.top;
  if (!m_hDcBackground) {
    BYTE* bits = nullptr;
    const HDC reference = m_manager.m_hDcPaint;
    m_hbmpBackground.reset(CRenderEngine::CreateARGB32Bitmap(reference, width, height, &bits));
    m_hDcBackground.reset(::CreateCompatibleDC(reference));
    if (m_hbmpBackground && m_hDcBackground) {
      ::SelectObject(m_hDcBackground.get(), m_hbmpBackground.get());
      m_pBackgroundBits = bits;
      TDrawInfo shapeImage(m_sLayeredImage.GetData());
      CRenderEngine::DrawImage(m_hDcBackground.get(), &m_manager, rcClient, rcClient,
                               shapeImage);
    }
  }
  const BYTE* shape = m_pBackgroundBits;
  if (shape == nullptr) return;
  BYTE* frame = reinterpret_cast<BYTE*>(m_pOffscreenBits);
  for (int i = 0; i < width * height; ++i) {
    const unsigned alpha = shape[i * 4 + 3];
    for (int channel = 0; channel < 4; ++channel) {
      frame[i * 4 + channel] = static_cast<BYTE>(frame[i * 4 + channel] * alpha / 255);
    }
  }
}

void CWindowPainter::UpdateLayeredWindow(int width, int height) {
  UpdateLayeredWindowProc update = GetUpdateLayeredWindow();
  if (update == nullptr) return;
  const HWND window = m_manager.m_hWndPaint;
  RECT rcWindow = {};
  ::GetWindowRect(window, &rcWindow);
  POINT destination = {rcWindow.left, rcWindow.top};
  SIZE size = {width, height};
  POINT source = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_manager.m_nOpacity, AC_SRC_ALPHA};
  update(window, nullptr, &destination, &size, m_hDcOffscreen.get(), &source, 0, &blend,
         ULW_ALPHA);
}

// ---- Layered state ----

void CWindowPainter::SetLayered(bool layered) {
  const HWND window = m_manager.m_hWndPaint;
  if (window == nullptr || layered == m_bLayered) return;
  if ((::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) return;
  if (GetUpdateLayeredWindow() == nullptr) return;
  m_bLayered = layered;
  const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  if (layered) {
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    ::SetTimer(window, kLayeredTimerId, 10, nullptr);
  } else {
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    ::KillTimer(window, kLayeredTimerId);
  }
  DiscardBuffers();
  if (m_manager.m_pRoot != nullptr) m_manager.m_pRoot->NeedUpdate();
  m_manager.NeedUpdate();
  m_rcLayeredUpdate = ClientRectOf(window);
  ::InvalidateRect(window, nullptr, FALSE);
}

void CWindowPainter::SetLayeredOpacity(BYTE opacity) {
  m_nLayeredOpacity = opacity;
  m_bLayeredChanged = true;
  m_manager.Invalidate(m_rcLayeredUpdate);
}

void CWindowPainter::SetLayeredImage(const wchar_t* image) {
  m_sLayeredImage = image != nullptr ? image : L"";
  m_bLayeredChanged = true;
  m_hDcBackground.reset();
  m_hbmpBackground.reset();
  m_pBackgroundBits = nullptr;
  if (!m_sLayeredImage.IsEmpty()) SetLayered(true);
}

bool CWindowPainter::InvalidateLayered(const RECT& area) {
  if (!m_bLayered) return false;
  ::UnionRect(&m_rcLayeredUpdate, &m_rcLayeredUpdate, &area);
  return true;
}

void CWindowPainter::OnSize() {
  if (m_bLayered) m_manager.Invalidate(ClientRectOf(m_manager.m_hWndPaint));
}

void CWindowPainter::OnLayeredTimer() {
  if (m_bLayered && !::IsRectEmpty(&m_rcLayeredUpdate) && !::IsIconic(m_manager.m_hWndPaint)) {
    Paint();
  }
}

bool CWindowPainter::AnswerLayeredFrame(UINT uMsg, WPARAM wParam, LRESULT& result) {
  if (!m_bLayered) return false;
  switch (uMsg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      result = 0;
      return true;
    case WM_NCACTIVATE:
      if (::IsIconic(m_manager.m_hWndPaint)) return false;
      result = wParam == 0 ? TRUE : FALSE;
      return true;
    default:
      return false;
  }
}

}  // namespace SkinUI
