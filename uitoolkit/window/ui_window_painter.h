// CWindowPainter: the part of a paint manager that paints its window: through an off-screen
// buffer, as a per-pixel-alpha layered window, or into a device context that asks for a print.
// It owns the paint buffers and the layered window's state.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/unique_handle.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CPaintManagerUI;

class CWindowPainter {
 public:
  explicit CWindowPainter(CPaintManagerUI& manager) : m_manager(manager) {}
  CWindowPainter(const CWindowPainter&) = delete;
  CWindowPainter& operator=(const CWindowPainter&) = delete;

  // Answers WM_PAINT; always true.
  bool Paint();
  // Answers WM_PRINTCLIENT: the tree, and with PRF_CHILDREN the native child windows.
  void PrintClient(HDC hDC, LPARAM flags);
  // After WM_SIZE: a layered window repaints its whole client area.
  void OnSize();
  // The non-client messages a layered window answers itself; false for any other message.
  bool AnswerLayeredFrame(UINT uMsg, WPARAM wParam, LRESULT& result);
  // Timer 0x2000 of a layered window: paints what was invalidated since the last frame.
  void OnLayeredTimer();
  // Adds an invalidated area to the next layered frame; false when the window is not layered.
  bool InvalidateLayered(const RECT& area);
  void SetLayered(bool layered);
  [[nodiscard]] bool IsLayered() const { return m_bLayered; }
  void SetLayeredInset(const RECT& inset) { m_rcLayeredInset = inset; }
  [[nodiscard]] BYTE GetLayeredOpacity() const { return m_nLayeredOpacity; }
  void SetLayeredOpacity(BYTE opacity);
  [[nodiscard]] const CUiString& GetLayeredImage() const { return m_sLayeredImage; }
  // The image whose alpha shapes the layered window; a non-empty image turns layered mode on.
  void SetLayeredImage(const wchar_t* image);
  // Drops the paint buffers (they are made again at the next paint).
  void DiscardBuffers();

 private:
  // The steps of one paint, in order.
  bool PaintWithoutRoot();
  bool FindPaintArea(const RECT& rcClient, RECT& rcPaint);
  bool LayOutBeforePaint(const RECT& rcClient);
  void MakeOffscreenBuffer(int width, int height);
  void PaintBuffered(HDC windowDC, const RECT& rcClient, const RECT& rcPaint);
  void ShowUpdateRect(HDC windowDC, const RECT& rcPaint);

  // The steps of one layered frame, in order.
  void PaintLayered(const RECT& rcClient);
  void RenderWithCoverage(const RECT& rcClient, const RECT& rcPaint);
  void PrintNativeChildren();
  void ApplyLayeredImage(const RECT& rcClient);
  void UpdateLayeredWindow(int width, int height);

  CPaintManagerUI& m_manager;
  bool m_bOffscreenPaint = true;
  bool m_bLayered = false;
  BYTE m_nLayeredOpacity = 255;
  bool m_bLayeredChanged = false;
  CUiString m_sLayeredImage;
  RECT m_rcLayeredUpdate = {0, 0, 0, 0};
  RECT m_rcLayeredInset = {0, 0, 0, 0};
  // Each bitmap is declared before the context it is selected into, so the context goes first.
  vesk::UniqueBitmap m_hbmpOffscreen;
  vesk::UniqueMemoryDC m_hDcOffscreen;
  std::uint32_t* m_pOffscreenBits = nullptr;
  vesk::UniqueBitmap m_hbmpBackground;
  vesk::UniqueMemoryDC m_hDcBackground;
  const BYTE* m_pBackgroundBits = nullptr;
};

}  // namespace SkinUI
