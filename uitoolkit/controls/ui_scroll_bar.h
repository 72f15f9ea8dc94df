// CScrollBarUI: a vertical or horizontal scroll bar as a Windows user knows it: two arrow buttons,
// a track and a thumb sized by the page. An arrow click scrolls one line, a track click one page
// towards the pointer, both repeating while the button is held; the thumb is dragged. A bar owned
// by a container moves the container (its SetScrollPos), so the content follows. Every position
// change sends "scroll" (queued, without repeat; wParam new position, lParam previous position).
// Each part is drawn per state from the skin's image or colour, or in the plain Windows look.
#pragma once

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_state_look.h"

namespace SkinUI {

class CContainerUI;

// ---- Geometry ----

// A thumb is never shorter than this many pixels; a track shorter than that shows no thumb.
constexpr int kMinThumbLength = 12;

// The rectangles of a bar's parts; an empty thumb means there is none (nothing to scroll, or the
// track is too short); a hidden button is empty.
struct TScrollBarParts {
  RECT button1;  // up or left
  RECT button2;  // down or right
  RECT track;    // between the buttons
  RECT thumb;
};

// The parts of a bar over `bar`. Each shown button is as long as the bar is thick (half the bar's
// length each when the bar is shorter than both); the thumb's length is track × page / (range +
// page), at least kMinThumbLength, and it lies at track × pos / range of the free length.
TScrollBarParts ScrollBarPartsFor(const RECT& bar, bool horizontal, bool showButton1,
                                  bool showButton2, int range, int page, int pos);

// The position after the thumb was dragged `delta` pixels from where it was at `startPos`:
// start + delta × range / (track length − thumb length), limited to [0, range].
int ScrollPosFromThumbDrag(int startPos, int delta, int range, int trackLength, int thumbLength);

// The part of a bar under a point.
enum class TScrollBarHit { None, Button1, Button2, PageBefore, PageAfter, Thumb };
TScrollBarHit ScrollBarHitTest(const TScrollBarParts& parts, bool horizontal, POINT pt);

// ---- The control ----

class CScrollBarUI : public CControlUI {
 public:
  // Thickness of a new bar: the fixed width of a vertical bar, the fixed height of a horizontal
  // one.
  static constexpr int kDefaultThickness = 16;
  // The auto-repeat of a held arrow or track click: the first repeat after kRepeatDelay ms, then
  // every kRepeatInterval ms.
  static constexpr UINT kRepeatDelay = 500;
  static constexpr UINT kRepeatInterval = 50;
  static constexpr UINT kRepeatTimerId = 12;

  // The drawn parts and their states, the indexes of the image and colour tables.
  enum TPart { kButton1, kButton2, kThumb, kRail, kBk, kArrow, kPartCount };
  enum TState { kNormal = kLookNormal, kHot = kLookHot, kPushed = kLookPushed,
                kDisabled = kLookDisabled, kStateCount = kLookStateCount };

  CScrollBarUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  CContainerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
  bool IsHorizontal() const { return m_bHorizontal; }
  // Turns the bar and moves the default thickness to the other axis.
  void SetHorizontal(bool horizontal = true);
  int GetScrollRange() const { return m_nRange; }
  // Negative ranges read as 0; the position is kept inside the new range.
  void SetScrollRange(int range);
  int GetScrollPos() const { return m_nScrollPos; }
  // The position limited to [0, range]; a change repaints and sends "scroll".
  void SetScrollPos(int pos);
  int GetLineSize() const { return m_nLineSize; }
  void SetLineSize(int size);
  // The visible extent of the content (the owner's client size); sizes the thumb.
  int GetPageSize() const { return m_nPageSize; }
  void SetPageSize(int size);
  bool IsShowButton1() const { return m_bShowButton1; }
  void SetShowButton1(bool show);
  bool IsShowButton2() const { return m_bShowButton2; }
  void SetShowButton2(bool show);

  // The current parts (window coordinates).
  TScrollBarParts GetParts() const;
  // The state a part is drawn in now.
  TState GetPartState(TPart part) const;

  // A scroll bar never takes the keyboard focus (clicking it leaves the focus where it is).
  void SetFocus() override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  // `hor` (bool), `range`, `value`, `linesize`, `pagesize` (decimal), `showbutton1`,
  // `showbutton2` (bool), and `<part><state>image` / `<part><state>color`; others go to the
  // control.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // Track background, buttons with their arrows, thumb and its grip.
  void PaintStatusImage(HDC hDC) override;

 private:
  // Moves to `pos` as the user asked: through the owner when there is one.
  void ScrollTo(int pos);
  void ScrollBy(int delta) { ScrollTo(m_nScrollPos + delta); }
  // One step of the pressed part (a line or a page) while the pointer is on it.
  void StepPressedPart();
  void StartRepeat();
  void StopRepeat();
  void SetHotPart(TScrollBarHit hit);
  void PaintPart(HDC hDC, TPart part, const RECT& rc);
  void PaintArrow(HDC hDC, TPart button, const RECT& rc);
  void PaintRail(HDC hDC, const RECT& thumb);

  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 0;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
  int m_nPageSize = 0;
  bool m_bShowButton1 = true;
  bool m_bShowButton2 = true;

  // Each part's image or colour per state (see the README for the fallbacks).
  TStateLook m_looks[kPartCount];

  TScrollBarHit m_hot = TScrollBarHit::None;
  TScrollBarHit m_pressed = TScrollBarHit::None;
  bool m_bRepeatRunning = false;
  bool m_bRepeatFast = false;
  POINT m_ptLastMouse = {0, 0};
  POINT m_ptDragStart = {0, 0};
  int m_nDragStartPos = 0;
};

}  // namespace SkinUI
