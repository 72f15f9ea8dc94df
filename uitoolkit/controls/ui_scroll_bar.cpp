#include "uitoolkit/controls/ui_scroll_bar.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

// A bar's axis: "main" along the bar, "cross" across it.
struct TBarAxis {
  bool horizontal;

  LONG MainStart(const RECT& r) const { return horizontal ? r.left : r.top; }
  LONG MainEnd(const RECT& r) const { return horizontal ? r.right : r.bottom; }
  LONG Main(POINT p) const { return horizontal ? p.x : p.y; }
  // The part of `bar` from `from` to `to` along the bar, the bar's whole breadth across.
  RECT Slice(const RECT& bar, LONG from, LONG to) const {
    return horizontal ? RECT{from, bar.top, to, bar.bottom} : RECT{bar.left, from, bar.right, to};
  }
};

LONG RoundedMulDiv(LONG value, LONG numerator, LONG denominator) {
  if (denominator <= 0) return 0;
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<LONG>(product >= 0 ? (product + half) / denominator
                                        : (product - half) / denominator);
}

const RECT kNoRect = {0, 0, 0, 0};

bool Inside(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

// The plain Windows look of each part per state (0: nothing drawn).
constexpr DWORD kDefaultColors[CScrollBarUI::kPartCount][CScrollBarUI::kStateCount] = {
    /* button1 */ {0, 0xFFDADADA, 0xFF606060, 0},
    /* button2 */ {0, 0xFFDADADA, 0xFF606060, 0},
    /* thumb   */ {0xFFCDCDCD, 0xFFA6A6A6, 0xFF606060, 0},
    /* rail    */ {0, 0, 0, 0},
    /* bk      */ {0xFFF0F0F0, 0xFFF0F0F0, 0xFFF0F0F0, 0xFFF0F0F0},
    /* arrow   */ {0xFF606060, 0xFF000000, 0xFFFFFFFF, 0xFFBFBFBF},
};

const wchar_t* const kPartNames[CScrollBarUI::kPartCount] = {L"button1", L"button2", L"thumb",
                                                            L"rail",    L"bk",      L"arrow"};

// Reads `<part><state>image` or `<part><state>color`; false for other names.
bool ParsePartAttributeName(const wchar_t* name, int& part, int& state, bool& isImage) {
  for (part = 0; part < CScrollBarUI::kPartCount; ++part) {
    if (!ParseStateLookName(name, kPartNames[part], state, isImage)) continue;
    // The arrow is a glyph (colours only); the rail is an image (images only).
    if (isImage ? part != CScrollBarUI::kArrow : part != CScrollBarUI::kRail) return true;
  }
  return false;
}

}  // namespace

// ---- Geometry ----

TScrollBarParts ScrollBarPartsFor(const RECT& bar, bool horizontal, bool showButton1,
                                  bool showButton2, int range, int page, int pos) {
  const TBarAxis axis{horizontal};
  const LONG start = axis.MainStart(bar);
  const LONG end = std::max(axis.MainEnd(bar), start);
  const LONG length = end - start;
  const LONG thickness = horizontal ? bar.bottom - bar.top : bar.right - bar.left;
  const int buttonCount = (showButton1 ? 1 : 0) + (showButton2 ? 1 : 0);
  LONG buttonLength = std::max<LONG>(thickness, 0);
  if (buttonCount > 0 && buttonLength * buttonCount > length) buttonLength = length / buttonCount;

  TScrollBarParts parts{kNoRect, kNoRect, kNoRect, kNoRect};
  LONG trackStart = start;
  LONG trackEnd = end;
  if (showButton1) {
    parts.button1 = axis.Slice(bar, start, start + buttonLength);
    trackStart += buttonLength;
  }
  if (showButton2) {
    parts.button2 = axis.Slice(bar, end - buttonLength, end);
    trackEnd -= buttonLength;
  }
  parts.track = axis.Slice(bar, trackStart, trackEnd);
  const LONG trackLength = trackEnd - trackStart;
  if (range <= 0 || trackLength < kMinThumbLength) return parts;

  LONG thumbLength = page > 0 ? RoundedMulDiv(trackLength, page, range + page) : 0;
  thumbLength = std::min<LONG>(std::max<LONG>(thumbLength, kMinThumbLength), trackLength);
  const LONG clampedPos = std::min(std::max(pos, 0), range);
  const LONG offset = RoundedMulDiv(trackLength - thumbLength, clampedPos, range);
  parts.thumb = axis.Slice(bar, trackStart + offset, trackStart + offset + thumbLength);
  return parts;
}

int ScrollPosFromThumbDrag(int startPos, int delta, int range, int trackLength,
                           int thumbLength) {
  const int free = trackLength - thumbLength;
  if (range <= 0) return 0;
  const long long moved = free > 0 ? startPos + static_cast<long long>(RoundedMulDiv(
                                                    delta, range, free))
                                   : startPos;
  return static_cast<int>(std::min<long long>(std::max<long long>(moved, 0), range));
}

TScrollBarHit ScrollBarHitTest(const TScrollBarParts& parts, bool horizontal, POINT pt) {
  if (Inside(parts.button1, pt)) return TScrollBarHit::Button1;
  if (Inside(parts.button2, pt)) return TScrollBarHit::Button2;
  if (Inside(parts.thumb, pt)) return TScrollBarHit::Thumb;
  if (!Inside(parts.track, pt) || ::IsRectEmpty(&parts.thumb)) return TScrollBarHit::None;
  const TBarAxis axis{horizontal};
  return axis.Main(pt) < axis.MainStart(parts.thumb) ? TScrollBarHit::PageBefore
                                                     : TScrollBarHit::PageAfter;
}

// ---- The control ----

CScrollBarUI::CScrollBarUI() { m_cxyFixed.cx = kDefaultThickness; }

const wchar_t* CScrollBarUI::GetClass() const { return L"ScrollBar"; }

void* CScrollBarUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && std::wcscmp(name, L"ScrollBar") == 0) return this;
  return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  if (horizontal) {
    if (m_cxyFixed.cy == 0) {
      m_cxyFixed.cx = 0;
      m_cxyFixed.cy = kDefaultThickness;
    }
  } else if (m_cxyFixed.cx == 0) {
    m_cxyFixed.cx = kDefaultThickness;
    m_cxyFixed.cy = 0;
  }
  NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range) {
  range = std::max(range, 0);
  if (range != m_nRange) {
    m_nRange = range;
    Invalidate();
  }
  SetScrollPos(m_nScrollPos);
}

void CScrollBarUI::SetScrollPos(int pos) {
  const int clamped = std::min(std::max(pos, 0), m_nRange);
  if (clamped == m_nScrollPos) return;
  const int previous = m_nScrollPos;
  m_nScrollPos = clamped;
  Invalidate();
  if (m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"scroll", static_cast<WPARAM>(clamped),
                           static_cast<LPARAM>(previous), true, false);
  }
}

void CScrollBarUI::SetLineSize(int size) { m_nLineSize = std::max(size, 1); }

void CScrollBarUI::SetPageSize(int size) {
  size = std::max(size, 0);
  if (size == m_nPageSize) return;
  m_nPageSize = size;
  Invalidate();
}

void CScrollBarUI::SetShowButton1(bool show) {
  m_bShowButton1 = show;
  Invalidate();
}

void CScrollBarUI::SetShowButton2(bool show) {
  m_bShowButton2 = show;
  Invalidate();
}

TScrollBarParts CScrollBarUI::GetParts() const {
  return ScrollBarPartsFor(m_rcItem, m_bHorizontal, m_bShowButton1, m_bShowButton2, m_nRange,
                           m_nPageSize, m_nScrollPos);
}

void CScrollBarUI::SetFocus() {}

void CScrollBarUI::SetEnabled(bool enabled) {
  CControlUI::SetEnabled(enabled);
  if (enabled) return;
  StopRepeat();
  m_hot = m_pressed = TScrollBarHit::None;
}

// ---- Input ----

void CScrollBarUI::ScrollTo(int pos) {
  if (m_pOwner == nullptr) {
    SetScrollPos(pos);
    return;
  }
  SIZE ownerPos = m_pOwner->GetScrollPos();
  (m_bHorizontal ? ownerPos.cx : ownerPos.cy) = pos;
  m_pOwner->SetScrollPos(ownerPos);
}

void CScrollBarUI::StepPressedPart() {
  // Like Windows, a held arrow or track steps only while the pointer is on that part: the track
  // pauses once the thumb has reached the pointer and goes on when the pointer moves past it.
  if (ScrollBarHitTest(GetParts(), m_bHorizontal, m_ptLastMouse) != m_pressed) return;
  const int page = std::max(m_nPageSize, m_nLineSize);
  switch (m_pressed) {
    case TScrollBarHit::Button1: ScrollBy(-m_nLineSize); break;
    case TScrollBarHit::Button2: ScrollBy(m_nLineSize); break;
    case TScrollBarHit::PageBefore: ScrollBy(-page); break;
    case TScrollBarHit::PageAfter: ScrollBy(page); break;
    default: break;
  }
}

void CScrollBarUI::StartRepeat() {
  if (m_pManager == nullptr) return;
  m_bRepeatFast = false;
  m_bRepeatRunning = m_pManager->SetTimer(this, kRepeatTimerId, kRepeatDelay);
}

void CScrollBarUI::StopRepeat() {
  if (m_bRepeatRunning && m_pManager != nullptr) m_pManager->KillTimer(this, kRepeatTimerId);
  m_bRepeatRunning = false;
}

void CScrollBarUI::SetHotPart(TScrollBarHit hit) {
  if (hit == m_hot) return;
  m_hot = hit;
  Invalidate();
}

void CScrollBarUI::DoEvent(TEventUI& event) {
  const bool mouse = IsMouseEvent(event.Type) && event.Type != UIEVENT_SCROLLWHEEL;
  if (!IsEnabled() && (mouse || event.Type == UIEVENT_TIMER)) return;
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
      m_ptLastMouse = event.ptMouse;
      const TScrollBarParts parts = GetParts();
      m_pressed = ScrollBarHitTest(parts, m_bHorizontal, event.ptMouse);
      if (m_pressed == TScrollBarHit::Thumb) {
        m_ptDragStart = event.ptMouse;
        m_nDragStartPos = m_nScrollPos;
      } else if (m_pressed != TScrollBarHit::None) {
        StepPressedPart();
        StartRepeat();
      }
      Invalidate();
      return;
    }
    case UIEVENT_MOUSEMOVE: {
      m_ptLastMouse = event.ptMouse;
      if (m_pressed == TScrollBarHit::Thumb) {
        const TScrollBarParts parts = GetParts();
        const TBarAxis axis{m_bHorizontal};
        const int delta = axis.Main(event.ptMouse) - axis.Main(m_ptDragStart);
        const int trackLength = axis.MainEnd(parts.track) - axis.MainStart(parts.track);
        const int thumbLength = axis.MainEnd(parts.thumb) - axis.MainStart(parts.thumb);
        ScrollTo(ScrollPosFromThumbDrag(m_nDragStartPos, delta, m_nRange, trackLength,
                                        thumbLength));
      } else if (m_pressed == TScrollBarHit::None) {
        SetHotPart(ScrollBarHitTest(GetParts(), m_bHorizontal, event.ptMouse));
      }
      return;
    }
    case UIEVENT_BUTTONUP:
      m_ptLastMouse = event.ptMouse;
      StopRepeat();
      m_pressed = TScrollBarHit::None;
      m_hot = Inside(m_rcItem, event.ptMouse)
                  ? ScrollBarHitTest(GetParts(), m_bHorizontal, event.ptMouse)
                  : TScrollBarHit::None;
      Invalidate();
      return;
    case UIEVENT_MOUSEENTER:
      SetHotPart(ScrollBarHitTest(GetParts(), m_bHorizontal, event.ptMouse));
      return;
    case UIEVENT_MOUSELEAVE:
      SetHotPart(TScrollBarHit::None);
      return;
    case UIEVENT_TIMER:
      if (event.wParam != kRepeatTimerId) break;
      if (m_pressed == TScrollBarHit::None || m_pressed == TScrollBarHit::Thumb) {
        StopRepeat();
        return;
      }
      StepPressedPart();
      if (!m_bRepeatFast && m_pManager != nullptr) {
        // A running timer keeps its period: it is stopped and started again at the fast one.
        m_bRepeatFast = true;
        m_pManager->KillTimer(this, kRepeatTimerId);
        m_bRepeatRunning = m_pManager->SetTimer(this, kRepeatTimerId, kRepeatInterval);
      }
      return;
    case UIEVENT_CONTEXTMENU:
    case UIEVENT_RBUTTONDOWN:
    case UIEVENT_MOUSEHOVER:
      return;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

// ---- Attributes ----

void CScrollBarUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  int part = 0;
  int state = 0;
  bool isImage = false;
  if (std::wcscmp(name, L"hor") == 0) {
    SetHorizontal(ParseBoolValue(value));
  } else if (std::wcscmp(name, L"range") == 0) {
    SetScrollRange(ParseDecimal(value));
  } else if (std::wcscmp(name, L"value") == 0) {
    SetScrollPos(ParseDecimal(value));
  } else if (std::wcscmp(name, L"linesize") == 0) {
    SetLineSize(ParseDecimal(value));
  } else if (std::wcscmp(name, L"pagesize") == 0) {
    SetPageSize(ParseDecimal(value));
  } else if (std::wcscmp(name, L"showbutton1") == 0) {
    SetShowButton1(ParseBoolValue(value));
  } else if (std::wcscmp(name, L"showbutton2") == 0) {
    SetShowButton2(ParseBoolValue(value));
  } else if (ParsePartAttributeName(name, part, state, isImage)) {
    if (isImage) {
      LoadDrawInfo(m_looks[part].images[state], value);
    } else {
      m_looks[part].colors[state] = ParseColor(value);
      Invalidate();
    }
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

// ---- Painting ----

CScrollBarUI::TState CScrollBarUI::GetPartState(TPart part) const {
  if (!IsEnabled()) return kDisabled;
  TScrollBarHit hit = TScrollBarHit::None;
  switch (part) {
    case kButton1: hit = TScrollBarHit::Button1; break;
    case kButton2: hit = TScrollBarHit::Button2; break;
    case kThumb:
    case kRail: hit = TScrollBarHit::Thumb; break;
    case kBk:
      if (m_pressed == TScrollBarHit::PageBefore || m_pressed == TScrollBarHit::PageAfter) {
        return kPushed;
      }
      return m_hot != TScrollBarHit::None ? kHot : kNormal;
    default: return kNormal;
  }
  if (m_pressed == hit) return kPushed;
  return m_hot == hit ? kHot : kNormal;
}

void CScrollBarUI::PaintPart(HDC hDC, TPart part, const RECT& rc) {
  if (::IsRectEmpty(&rc)) return;
  // A disabled thumb of the plain look is not drawn (its plain colour is 0).
  const TState state = GetPartState(part);
  const bool imageDrawn = m_looks[part].Paint(hDC, *this, rc, state, kDefaultColors[part][state]);
  if (!imageDrawn && (part == kButton1 || part == kButton2)) PaintArrow(hDC, part, rc);
}

// A filled triangle pointing away from the track, drawn as rows of one-pixel lines.
void CScrollBarUI::PaintArrow(HDC hDC, TPart button, const RECT& rc) {
  const TState state = GetPartState(button);
  const DWORD color =
      GetAdjustColor(m_looks[kArrow].ColorFor(state, kDefaultColors[kArrow][state]));
  const LONG width = rc.right - rc.left;
  const LONG height = rc.bottom - rc.top;
  const LONG size = std::min(width, height);
  const LONG half = std::max<LONG>(size / 4, 1);  // rows of the triangle
  const LONG cx = rc.left + width / 2;
  const LONG cy = rc.top + height / 2;
  const bool towardsStart = button == kButton1;
  for (LONG row = 0; row < half; ++row) {
    // Row 0 is the tip; each further row is one pixel wider on both sides.
    const LONG offset = towardsStart ? row - half / 2 : half / 2 - row;
    RECT line;
    if (m_bHorizontal) {
      line = RECT{cx + offset, cy - row, cx + offset + 1, cy + row + 1};
    } else {
      line = RECT{cx - row, cy + offset, cx + row + 1, cy + offset + 1};
    }
    CRenderEngine::DrawColor(hDC, line, color);
  }
}

void CScrollBarUI::PaintRail(HDC hDC, const RECT& thumb) {
  TDrawInfo* rail = m_looks[kRail].ImageFor(GetPartState(kRail));
  if (rail == nullptr) return;
  CRenderEngine::DrawImage(nullptr, m_pManager, thumb, m_rcPaint, *rail);
  if (rail->image == nullptr) return;
  const bool sourceSet = rail->source.right > rail->source.left;
  const LONG width = sourceSet ? rail->source.right - rail->source.left : rail->image->width;
  const LONG height = sourceSet ? rail->source.bottom - rail->source.top : rail->image->height;
  const LONG left = (thumb.left + thumb.right - width) / 2;
  const LONG top = (thumb.top + thumb.bottom - height) / 2;
  CUiRect grip(left, top, left + width, top + height);
  if (!grip.Intersect(thumb)) return;
  CRenderEngine::DrawImage(hDC, m_pManager, grip, m_rcPaint, *rail);
}

void CScrollBarUI::PaintStatusImage(HDC hDC) {
  const TScrollBarParts parts = GetParts();
  PaintPart(hDC, kBk, m_rcItem);
  PaintPart(hDC, kButton1, parts.button1);
  PaintPart(hDC, kButton2, parts.button2);
  if (::IsRectEmpty(&parts.thumb)) return;
  PaintPart(hDC, kThumb, parts.thumb);
  if (IsEnabled()) PaintRail(hDC, parts.thumb);
}

}  // namespace SkinUI
