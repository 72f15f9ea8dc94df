#include "uitoolkit/controls/ui_container.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_control_geometry.h"
#include "uitoolkit/controls/ui_layout_steps.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}

// Lines per wheel notch as the user set them in Windows (3 unless changed).
UINT SystemWheelLines() {
  UINT lines = 3;
  if (::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0) == FALSE) lines = 3;
  return lines;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  if (m_bAutoDestroy) {
    for (int i = 0; i < m_items.GetSize(); ++i) {
      static_cast<CControlUI*>(m_items.GetAt(i))->Delete();
    }
  }
  m_items.Empty();
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->Delete();
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->Delete();
}

const wchar_t* CContainerUI::GetClass() const { return L"Container"; }

void* CContainerUI::GetInterface(const wchar_t* name) {
  if (name != nullptr) {
    if (NameIs(name, L"IContainer")) return static_cast<IContainerUI*>(this);
    if (NameIs(name, L"Container")) return static_cast<CContainerUI*>(this);
  }
  return CControlUI::GetInterface(name);
}

// ---- Items ----

CControlUI* CContainerUI::GetItemAt(int index) const {
  return static_cast<CControlUI*>(m_items.GetAt(index));
}

int CContainerUI::GetItemIndex(CControlUI* control) const { return m_items.Find(control); }

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  const int current = m_items.Find(control);
  if (current < 0 || index < 0 || index >= m_items.GetSize()) return false;
  if (current == index) return true;
  m_items.Remove(current);
  m_items.InsertAt(index, control);
  NeedUpdate();
  return true;
}

bool CContainerUI::SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) {
  const int start = m_items.Find(startControl);
  const int size = m_items.GetSize();
  if (start < 0 || count <= 0 || start + count > size || newStartIndex < 0 ||
      newStartIndex + count > size) {
    return false;
  }
  if (start == newStartIndex) return true;
  CUiPtrArray moved(count);
  for (int i = 0; i < count; ++i) moved.Add(m_items.GetAt(start + i));
  m_items.Remove(start, count);
  for (int i = 0; i < count; ++i) m_items.InsertAt(newStartIndex + i, moved.GetAt(i));
  NeedUpdate();
  return true;
}

int CContainerUI::GetCount() const { return m_items.GetSize(); }

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, m_items.GetSize()); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr || index < 0 || index > m_items.GetSize()) return false;
  if (m_pManager != nullptr) m_pManager->InitControls(control, this);
  if (IsVisible()) {
    NeedUpdate();
  } else {
    control->SetInternVisible(false);
  }
  return m_items.InsertAt(index, control);
}

void CContainerUI::DestroyItem(CControlUI* control) {
  if (m_bDelayedDestroy && m_pManager != nullptr) {
    m_pManager->AddDelayedCleanup(control);
  } else {
    control->Delete();
  }
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
  const int index = m_items.Find(control);
  if (control == nullptr || index < 0) return false;
  NeedUpdate();
  m_items.Remove(index);
  if (!doNotDestroy && m_bAutoDestroy) DestroyItem(control);
  return true;
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
  return Remove(GetItemAt(index), doNotDestroy);
}

void CContainerUI::RemoveAll() {
  if (m_bAutoDestroy) {
    CUiPtrArray removed = m_items;
    m_items.Empty();
    for (int i = 0; i < removed.GetSize(); ++i) {
      DestroyItem(static_cast<CControlUI*>(removed.GetAt(i)));
    }
  }
  m_items.Empty();
  NeedUpdate();
}

// ---- Settings ----

RECT CContainerUI::GetInset() const { return m_rcInset; }

void CContainerUI::SetInset(RECT rcInset) {
  m_rcInset = rcInset;
  NeedUpdate();
}

int CContainerUI::GetChildPadding() const { return m_iChildPadding; }

void CContainerUI::SetChildPadding(int padding) {
  m_iChildPadding = std::max(padding, 0);
  NeedUpdate();
}

UINT CContainerUI::GetChildAlign() const { return m_iChildAlign; }

void CContainerUI::SetChildAlign(UINT align) {
  m_iChildAlign = align;
  NeedUpdate();
}

UINT CContainerUI::GetChildVAlign() const { return m_iChildVAlign; }

void CContainerUI::SetChildVAlign(UINT align) {
  m_iChildVAlign = align;
  NeedUpdate();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }

void CContainerUI::SetAutoDestroy(bool autoDestroy) { m_bAutoDestroy = autoDestroy; }

bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }

void CContainerUI::SetDelayedDestroy(bool delayedDestroy) { m_bDelayedDestroy = delayedDestroy; }

bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }

void CContainerUI::SetMouseChildEnabled(bool enabled) { m_bMouseChildEnabled = enabled; }

int CContainerUI::FindSelectable(int index, bool forward) const {
  const int size = m_items.GetSize();
  if (size == 0) return -1;
  index = std::min(std::max(index, 0), size - 1);
  for (int i = index; i >= 0 && i < size; i += forward ? 1 : -1) {
    const CControlUI* item = GetItemAt(i);
    if (item->IsVisible() && item->IsEnabled() && !item->IsFloat()) return i;
  }
  return -1;
}

// ---- Control operations ----

void CContainerUI::DoEvent(TEventUI& event) {
  if (IsEnabled() && (event.Type == UIEVENT_SCROLLWHEEL || event.Type == UIEVENT_KEYDOWN) &&
      Scroll(event)) {
    return;
  }
  CControlUI::DoEvent(event);
}

bool CContainerUI::Scroll(const TEventUI& event) {
  const bool vertical = IsVerticalBarVisible() && m_pVerticalScrollBar->IsEnabled();
  const bool horizontal = IsHorizontalBarVisible() && m_pHorizontalScrollBar->IsEnabled();
  if (event.Type == UIEVENT_SCROLLWHEEL) {
    if (!vertical) return false;
    const LONG step = WheelScrollStep(SystemWheelLines(), m_pVerticalScrollBar->GetLineSize(),
                                      CUiRect(GetClientArea()).GetHeight());
    SetScrollPosBy(0, event.wParam == SB_LINEDOWN ? step : -step);
    return true;
  }
  // Arrows move a container only while it has the focus itself; the page keys also while it
  // holds the focused control (which passed them on).
  struct TKeyStep {
    wchar_t key;
    bool vertical;
    bool ownFocusOnly;
    void (CContainerUI::*step)();
  };
  static const TKeyStep kSteps[] = {
      {VK_PRIOR, true, false, &CContainerUI::PageUp},
      {VK_NEXT, true, false, &CContainerUI::PageDown},
      {VK_HOME, true, false, &CContainerUI::HomeUp},
      {VK_END, true, false, &CContainerUI::EndDown},
      {VK_UP, true, true, &CContainerUI::LineUp},
      {VK_DOWN, true, true, &CContainerUI::LineDown},
      {VK_LEFT, false, true, &CContainerUI::LineLeft},
      {VK_RIGHT, false, true, &CContainerUI::LineRight},
  };
  for (const TKeyStep& step : kSteps) {
    if (step.key != event.chKey) continue;
    if (!(step.vertical ? vertical : horizontal)) return false;
    if (step.ownFocusOnly && event.pSender != this) return false;
    (this->*step.step)();
    return true;
  }
  return false;
}

void CContainerUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  CControlUI::SetVisible(visible);
  for (int i = 0; i < m_items.GetSize(); ++i) OwnItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  for (int i = 0; i < m_items.GetSize(); ++i) OwnItemAt(i)->SetInternVisible(IsVisible());
}

void CContainerUI::SetManager(IControlManagerUI* manager, CControlUI* parent, bool init) {
  for (int i = 0; i < m_items.GetSize(); ++i) OwnItemAt(i)->SetManager(manager, this, init);
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetManager(manager, this, init);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetManager(manager, this, init);
  CControlUI::SetManager(manager, parent, init);
}

bool CContainerUI::IsVerticalBarVisible() const {
  return m_pVerticalScrollBar != nullptr && m_pVerticalScrollBar->IsVisible();
}

bool CContainerUI::IsHorizontalBarVisible() const {
  return m_pHorizontalScrollBar != nullptr && m_pHorizontalScrollBar->IsVisible();
}

RECT CContainerUI::GetClientArea() const {
  return ContainerClientArea(
      m_rcItem, m_rcInset, IsVerticalBarVisible() ? m_pVerticalScrollBar->GetFixedWidth() : 0,
      IsHorizontalBarVisible() ? m_pHorizontalScrollBar->GetFixedHeight() : 0);
}

void CContainerUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  if (m_items.IsEmpty()) return;
  CUiRect area = GetClientArea();
  if (IsVerticalBarVisible()) {
    area.Offset(0, -m_pVerticalScrollBar->GetScrollPos());
    area.bottom += m_pVerticalScrollBar->GetScrollRange();
  }
  if (IsHorizontalBarVisible()) {
    area.Offset(-m_pHorizontalScrollBar->GetScrollPos(), 0);
    area.right += m_pHorizontalScrollBar->GetScrollRange();
  }
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* item = OwnItemAt(i);
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    const SIZE size = ClampSize(area.GetSize(), SIZE{item->GetMinWidth(), item->GetMinHeight()},
                                SIZE{item->GetMaxWidth(), item->GetMaxHeight()});
    item->SetPos(RECT{area.left, area.top, area.left + size.cx, area.top + size.cy}, false);
  }
}

void CContainerUI::Move(SIZE offset, bool needInvalidate) {
  CControlUI::Move(offset, needInvalidate);
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* item = OwnItemAt(i);
    if (item->IsVisible()) item->Move(offset, false);
  }
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->Move(offset, false);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->Move(offset, false);
}

void CContainerUI::SetFloatPos(int index) {
  CControlUI* item = OwnItemAt(index);
  if (item == nullptr || !item->IsVisible() || !item->IsFloat()) return;
  item->SetPos(FloatRectInParent(m_rcItem.GetSize(), item->GetFixedXY(),
                                 SIZE{item->GetFixedWidth(), item->GetFixedHeight()},
                                 item->GetFloatPercent()),
               false);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  bool candidate = true;
  if (!PassesFindFilters(proc, data, flags, candidate)) return nullptr;
  const bool hitTest = (flags & UIFIND_HITTEST) != 0;
  CControlUI* result = FindSelfFirstOrInCover(proc, data, flags, candidate);
  if (result == nullptr && m_pVerticalScrollBar != nullptr) {
    result = m_pVerticalScrollBar->FindControl(proc, data, flags);
  }
  if (result == nullptr && m_pHorizontalScrollBar != nullptr) {
    result = m_pHorizontalScrollBar->FindControl(proc, data, flags);
  }
  if (result != nullptr) return result;

  if (m_bMouseChildEnabled) {
    const CUiRect client = GetClientArea();
    const bool topFirst = (flags & UIFIND_TOP_FIRST) != 0;
    const int count = m_items.GetSize();
    for (int n = 0; n < count; ++n) {
      CControlUI* item = OwnItemAt(topFirst ? count - 1 - n : n);
      CControlUI* found = item->FindControl(proc, data, flags);
      if (found == nullptr) continue;
      if (hitTest && !item->IsFloat() && !client.Contains(*static_cast<const POINT*>(data))) {
        continue;
      }
      return found;
    }
  }
  if ((flags & UIFIND_ME_FIRST) == 0 && candidate) return proc(this, data);
  return nullptr;
}

void CContainerUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"inset")) {
    SetInset(ParseRectValue(value));
  } else if (NameIs(name, L"mousechild")) {
    SetMouseChildEnabled(ParseBoolValue(value));
  } else if (NameIs(name, L"vscrollbar")) {
    EnableScrollBar(ParseBoolValue(value), m_pHorizontalScrollBar != nullptr);
  } else if (NameIs(name, L"vscrollbarstyle")) {
    StyleScrollBar(true, value);
  } else if (NameIs(name, L"hscrollbar")) {
    EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBoolValue(value));
  } else if (NameIs(name, L"hscrollbarstyle")) {
    StyleScrollBar(false, value);
  } else if (NameIs(name, L"childpadding")) {
    SetChildPadding(ParseDecimal(value));
  } else if (NameIs(name, L"childalign")) {
    if (NameIs(value, L"left")) SetChildAlign(0);
    if (NameIs(value, L"center")) SetChildAlign(1);
    if (NameIs(value, L"right")) SetChildAlign(2);
  } else if (NameIs(name, L"childvalign")) {
    if (NameIs(value, L"top")) SetChildVAlign(0);
    if (NameIs(value, L"vcenter")) SetChildVAlign(4);
    if (NameIs(value, L"bottom")) SetChildVAlign(8);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CContainerUI::StyleScrollBar(bool vertical, const wchar_t* attributeList) {
  if (vertical) {
    EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
    if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetAttributeList(attributeList);
  } else {
    EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
    if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetAttributeList(attributeList);
  }
}

// ---- Painting ----

bool CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  RECT area;
  if (!::IntersectRect(&area, &rcPaint, &m_rcItem)) return true;
  CRenderClip outerClip;
  CRenderClip::GenerateClip(hDC, area, outerClip);
  CControlUI::DoPaint(hDC, rcPaint, stopControl);

  if (!m_items.IsEmpty()) {
    const RECT client = GetClientArea();
    RECT clientPaint;
    const bool clientMeetsPaint = ::IntersectRect(&clientPaint, &rcPaint, &client) != FALSE;
    CRenderClip childClip;
    if (clientMeetsPaint) CRenderClip::GenerateClip(hDC, clientPaint, childClip);
    for (int i = 0; i < m_items.GetSize(); ++i) {
      CControlUI* item = OwnItemAt(i);
      if (item == stopControl) return false;
      if (!item->IsVisible() || !Meets(rcPaint, item->GetPos())) continue;
      if (item->IsFloat()) {
        if (!Meets(m_rcItem, item->GetPos())) continue;
        // Float items may cover the inset margin: they paint under the container's own clip.
        if (clientMeetsPaint) CRenderClip::UseOldClipBegin(hDC, childClip);
        const bool keepGoing = item->Paint(hDC, rcPaint, stopControl);
        if (clientMeetsPaint) CRenderClip::UseOldClipEnd(hDC, childClip);
        if (!keepGoing) return false;
      } else if (clientMeetsPaint && Meets(client, item->GetPos())) {
        if (!item->Paint(hDC, rcPaint, stopControl)) return false;
      }
    }
  }
  return PaintScrollBars(hDC, rcPaint, stopControl);
}

bool CContainerUI::PaintScrollBars(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  CScrollBarUI* bars[2] = {m_pVerticalScrollBar, m_pHorizontalScrollBar};
  for (CScrollBarUI* bar : bars) {
    if (bar == nullptr || !bar->IsVisible()) continue;
    if (bar == stopControl) return false;
    if (Meets(rcPaint, bar->GetPos()) && !bar->Paint(hDC, rcPaint, stopControl)) return false;
  }
  return true;
}

// ---- Scrolling ----

SIZE CContainerUI::GetScrollPos() const {
  return SIZE{m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetScrollPos() : 0,
              m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollPos() : 0};
}

SIZE CContainerUI::GetScrollRange() const {
  return SIZE{m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetScrollRange() : 0,
              m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetScrollRange() : 0};
}

void CContainerUI::SetScrollPos(SIZE pos) {
  const SIZE before = GetScrollPos();
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->SetScrollPos(pos.cx);
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->SetScrollPos(pos.cy);
  const SIZE after = GetScrollPos();
  if (after.cx == before.cx && after.cy == before.cy) return;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* item = OwnItemAt(i);
    if (item->IsVisible() && !item->IsFloat()) {
      item->Move(SIZE{before.cx - after.cx, before.cy - after.cy}, false);
    }
  }
  Invalidate();
}

void CContainerUI::SetScrollPosBy(LONG dx, LONG dy) {
  const SIZE pos = GetScrollPos();
  SetScrollPos(SIZE{SaturatedAdd(pos.cx, dx), SaturatedAdd(pos.cy, dy)});
}

void CContainerUI::LineUp() {
  SetScrollPosBy(0, m_pVerticalScrollBar != nullptr ? -m_pVerticalScrollBar->GetLineSize() : 0);
}

void CContainerUI::LineDown() {
  SetScrollPosBy(0, m_pVerticalScrollBar != nullptr ? m_pVerticalScrollBar->GetLineSize() : 0);
}

void CContainerUI::PageUp() {
  const CUiRect client = GetClientArea();
  SetScrollPosBy(0, -client.GetHeight());
}

void CContainerUI::PageDown() {
  const CUiRect client = GetClientArea();
  SetScrollPosBy(0, client.GetHeight());
}

void CContainerUI::HomeUp() { SetScrollPos(SIZE{GetScrollPos().cx, 0}); }

void CContainerUI::EndDown() { SetScrollPos(SIZE{GetScrollPos().cx, GetScrollRange().cy}); }

void CContainerUI::LineLeft() {
  SetScrollPosBy(m_pHorizontalScrollBar != nullptr ? -m_pHorizontalScrollBar->GetLineSize() : 0,
                 0);
}

void CContainerUI::LineRight() {
  SetScrollPosBy(m_pHorizontalScrollBar != nullptr ? m_pHorizontalScrollBar->GetLineSize() : 0,
                 0);
}

void CContainerUI::PageLeft() {
  const CUiRect client = GetClientArea();
  SetScrollPosBy(-client.GetWidth(), 0);
}

void CContainerUI::PageRight() {
  const CUiRect client = GetClientArea();
  SetScrollPosBy(client.GetWidth(), 0);
}

void CContainerUI::HomeLeft() { SetScrollPos(SIZE{0, GetScrollPos().cy}); }

void CContainerUI::EndRight() { SetScrollPos(SIZE{GetScrollRange().cx, GetScrollPos().cy}); }

void CContainerUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
  if (enableVertical && m_pVerticalScrollBar == nullptr) {
    m_pVerticalScrollBar = new CScrollBarUI();
    m_pVerticalScrollBar->SetOwner(this);
    m_pVerticalScrollBar->SetVisible(false);
    m_pVerticalScrollBar->SetManager(m_pManager, this, m_pManager != nullptr);
  } else if (!enableVertical && m_pVerticalScrollBar != nullptr) {
    m_pVerticalScrollBar->Delete();
    m_pVerticalScrollBar = nullptr;
  }
  if (enableHorizontal && m_pHorizontalScrollBar == nullptr) {
    m_pHorizontalScrollBar = new CScrollBarUI();
    m_pHorizontalScrollBar->SetHorizontal(true);
    m_pHorizontalScrollBar->SetOwner(this);
    m_pHorizontalScrollBar->SetVisible(false);
    m_pHorizontalScrollBar->SetManager(m_pManager, this, m_pManager != nullptr);
  } else if (!enableHorizontal && m_pHorizontalScrollBar != nullptr) {
    m_pHorizontalScrollBar->Delete();
    m_pHorizontalScrollBar = nullptr;
  }
  NeedUpdate();
}

void CContainerUI::ScrollRectIntoView(const RECT& rc) {
  const RECT client = GetClientArea();
  SetScrollPosBy(IsHorizontalBarVisible()
                     ? ScrollDeltaToShow(rc.left, rc.right, client.left, client.right)
                     : 0,
                 IsVerticalBarVisible()
                     ? ScrollDeltaToShow(rc.top, rc.bottom, client.top, client.bottom)
                     : 0);
}

void ScrollControlIntoView(CControlUI* control) {
  if (control == nullptr) return;
  for (CControlUI* ancestor = control->GetParent(); ancestor != nullptr;
       ancestor = ancestor->GetParent()) {
    auto* container = static_cast<CContainerUI*>(ancestor->GetInterface(L"Container"));
    // The control's rectangle is read again each time: an inner container's scroll moved it.
    if (container != nullptr) container->ScrollRectIntoView(control->GetPos());
  }
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar; }

CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

void CContainerUI::ProcessScrollBar(RECT rc, int neededWidth, int neededHeight) {
  const bool verticalWasVisible = IsVerticalBarVisible();
  const bool horizontalWasVisible = IsHorizontalBarVisible();
  const SIZE posBefore = GetScrollPos();
  if (m_pVerticalScrollBar != nullptr) {
    const LONG range = ScrollRangeFor(neededHeight, rc.bottom - rc.top);
    if (range == 0) {
      m_pVerticalScrollBar->SetScrollRange(0);
      m_pVerticalScrollBar->SetVisible(false);
    } else {
      m_pVerticalScrollBar->SetScrollRange(range);
      m_pVerticalScrollBar->SetPageSize(rc.bottom - rc.top);
      m_pVerticalScrollBar->SetVisible(true);
      m_pVerticalScrollBar->SetPos(RECT{rc.right, rc.top,
                                        rc.right + m_pVerticalScrollBar->GetFixedWidth(),
                                        rc.bottom},
                                   false);
    }
  }
  if (m_pHorizontalScrollBar != nullptr) {
    const LONG range = ScrollRangeFor(neededWidth, rc.right - rc.left);
    if (range == 0) {
      m_pHorizontalScrollBar->SetScrollRange(0);
      m_pHorizontalScrollBar->SetVisible(false);
    } else {
      m_pHorizontalScrollBar->SetScrollRange(range);
      m_pHorizontalScrollBar->SetPageSize(rc.right - rc.left);
      m_pHorizontalScrollBar->SetVisible(true);
      m_pHorizontalScrollBar->SetPos(
          RECT{rc.left, rc.bottom, rc.right,
               rc.bottom + m_pHorizontalScrollBar->GetFixedHeight()},
          false);
    }
  }
  // A bar that appeared or went changes the client area, and a smaller range may have cut the
  // position the items were just placed at: lay the items out once more.
  const SIZE posAfter = GetScrollPos();
  if (!m_bScrollProcessing && (verticalWasVisible != IsVerticalBarVisible() ||
                               horizontalWasVisible != IsHorizontalBarVisible() ||
                               posBefore.cx != posAfter.cx || posBefore.cy != posAfter.cy)) {
    m_bScrollProcessing = true;
    SetPos(m_bFloat ? GetRelativePos() : GetPos(), false);
    m_bScrollProcessing = false;
  }
}

}  // namespace SkinUI
