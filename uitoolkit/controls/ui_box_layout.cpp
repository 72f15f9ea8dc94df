#include "uitoolkit/controls/ui_box_layout.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_layout_steps.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

// The layout's axis ("main") and the one across it ("cross"), so that one pass serves the
// column and the row.
struct TBoxAxis {
  bool horizontal;

  LONG Main(SIZE s) const { return horizontal ? s.cx : s.cy; }
  LONG Cross(SIZE s) const { return horizontal ? s.cy : s.cx; }
  SIZE Make(LONG main, LONG cross) const {
    return horizontal ? SIZE{main, cross} : SIZE{cross, main};
  }
  LONG MainStart(const RECT& r) const { return horizontal ? r.left : r.top; }
  LONG CrossStart(const RECT& r) const { return horizontal ? r.top : r.left; }
  LONG CrossEnd(const RECT& r) const { return horizontal ? r.bottom : r.right; }
  LONG MainLead(const RECT& r) const { return horizontal ? r.left : r.top; }
  LONG MainTrail(const RECT& r) const { return horizontal ? r.right : r.bottom; }
  LONG CrossLead(const RECT& r) const { return horizontal ? r.top : r.left; }
  LONG CrossTrail(const RECT& r) const { return horizontal ? r.bottom : r.right; }
  RECT MakeRect(TSpan main, TSpan cross) const {
    return horizontal ? RECT{main.from, cross.from, main.to, cross.to}
                      : RECT{cross.from, main.from, cross.to, main.to};
  }
};

// A child's size rules along both axes.
struct TChildRules {
  TChildRules(CControlUI& item, const TBoxAxis& axis) {
    const SIZE fixed{item.GetFixedWidth(), item.GetFixedHeight()};
    const SIZE minimum{item.GetMinWidth(), item.GetMinHeight()};
    const SIZE maximum{item.GetMaxWidth(), item.GetMaxHeight()};
    const RECT padding = item.GetPadding();
    fixedMain = axis.Main(fixed);
    fixedCross = axis.Cross(fixed);
    minMain = axis.Main(minimum);
    minCross = axis.Cross(minimum);
    maxMain = axis.Main(maximum);
    maxCross = axis.Cross(maximum);
    mainLead = axis.MainLead(padding);
    mainTrail = axis.MainTrail(padding);
    crossLead = axis.CrossLead(padding);
    crossTrail = axis.CrossTrail(padding);
  }

  // What the child may take of `main` along and `cross` across the axis (paddings across
  // subtracted here).
  SIZE Available(const TBoxAxis& axis, LONG main, LONG cross) const {
    return axis.Make(ChildAvailableExtent(main, fixedMain, maxMain),
                     ChildAvailableExtent(cross - crossLead - crossTrail, fixedCross, maxCross));
  }

  LONG fixedMain, fixedCross, minMain, minCross, maxMain, maxCross;
  LONG mainLead, mainTrail, crossLead, crossTrail;
};

// The size a child asks for. In a row a child without fixed width stretches and is not asked.
SIZE EstimateChild(CControlUI& item, const TBoxAxis& axis, const TChildRules& rules,
                   SIZE available) {
  if (axis.horizontal && rules.fixedMain == 0) return axis.Make(0, rules.fixedCross);
  return item.EstimateSize(available);
}

CScrollBarUI* VisibleBar(CScrollBarUI* bar) {
  return bar != nullptr && bar->IsVisible() ? bar : nullptr;
}

// What the first pass of the box layout finds: the extent the sized children take along the
// axis (leads, trails and paddings included), how many stretch, and the largest extent across.
struct TBoxMeasure {
  int stretchableCount = 0;
  LONG fixedTotal = 0;
  LONG paddingTotal = 0;
  LONG neededCross = 0;
};

TBoxMeasure MeasureChildren(CContainerUI& box, const TBoxAxis& axis, LONG availableMain,
                            LONG availableCross) {
  TBoxMeasure measure;
  int estimatedCount = 0;
  for (int i = 0; i < box.GetCount(); ++i) {
    CControlUI* item = box.GetItemAt(i);
    if (!item->IsVisible() || item->IsFloat()) continue;
    const TChildRules rules(*item, axis);
    const SIZE estimate = EstimateChild(*item, axis, rules,
                                        rules.Available(axis, availableMain, availableCross));
    LONG main = axis.Main(estimate);
    if (main == 0) {
      ++measure.stretchableCount;
    } else {
      main = ClampExtent(main, rules.minMain, rules.maxMain);
    }
    measure.fixedTotal += main + rules.mainLead + rules.mainTrail;
    const LONG cross =
        ClampExtent(std::max<LONG>(axis.Cross(estimate), 0), rules.minCross, rules.maxCross);
    measure.neededCross =
        std::max(measure.neededCross, cross + rules.crossLead + rules.crossTrail);
    ++estimatedCount;
  }
  measure.paddingTotal = std::max(estimatedCount - 1, 0) * box.GetChildPadding();
  measure.fixedTotal += measure.paddingTotal;
  return measure;
}

// The two-pass box layout of `box` along `axis`, into its client area.
void LayOutBox(CContainerUI& box, const TBoxAxis& axis, TCrossAlign align) {
  const RECT rc = box.GetClientArea();
  if (box.GetCount() == 0) {
    box.ProcessScrollBar(rc, 0, 0);
    return;
  }
  CScrollBarUI* verticalBar = VisibleBar(box.GetVerticalScrollBar());
  CScrollBarUI* horizontalBar = VisibleBar(box.GetHorizontalScrollBar());
  SIZE available{rc.right - rc.left, rc.bottom - rc.top};
  if (horizontalBar != nullptr) available.cx += horizontalBar->GetScrollRange();
  if (verticalBar != nullptr) available.cy += verticalBar->GetScrollRange();
  CScrollBarUI* mainBar = axis.horizontal ? horizontalBar : verticalBar;
  CScrollBarUI* crossBar = axis.horizontal ? verticalBar : horizontalBar;
  const LONG availableMain = axis.Main(available);
  const LONG availableCross = axis.Cross(available);
  const LONG childPadding = box.GetChildPadding();

  // First pass: what the sized children take, and how many stretch.
  const TBoxMeasure measure = MeasureChildren(box, axis, availableMain, availableCross);
  const int stretchableCount = measure.stretchableCount;
  const LONG fixedTotal = measure.fixedTotal;
  const LONG share = StretchShare(availableMain, fixedTotal, stretchableCount);

  // Second pass: place each child.
  LONG position = axis.MainStart(rc) - (mainBar != nullptr ? mainBar->GetScrollPos() : 0);
  LONG remainingMain = availableMain;
  LONG remainingFixed = fixedTotal;
  LONG neededMain = 0;
  int placedCount = 0;
  int stretchedCount = 0;
  for (int i = 0; i < box.GetCount(); ++i) {
    CControlUI* item = box.GetItemAt(i);
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      box.SetFloatPos(i);
      continue;
    }
    ++placedCount;
    const TChildRules rules(*item, axis);
    remainingMain -= rules.mainLead;
    const SIZE childAvailable = rules.Available(axis, remainingMain, availableCross);
    remainingFixed -= rules.mainLead + rules.mainTrail;
    if (placedCount > 1) remainingFixed -= childPadding;
    LONG main = axis.Main(EstimateChild(*item, axis, rules, childAvailable));
    if (main == 0) {
      ++stretchedCount;
      main = stretchedCount == stretchableCount
                 ? LastStretchExtent(remainingMain, rules.mainTrail, remainingFixed)
                 : share;
      main = ClampExtent(main, rules.minMain, rules.maxMain);
    } else {
      main = ClampExtent(main, rules.minMain, rules.maxMain);
      remainingFixed -= main;
    }
    const LONG cross = CrossExtent(rules.maxCross, availableCross, rules.crossLead,
                                   rules.crossTrail, axis.Cross(childAvailable), rules.minCross);
    const TSpan crossSpan =
        CrossSpan(align, axis.CrossStart(rc), axis.CrossEnd(rc), crossBar != nullptr,
                  crossBar != nullptr ? crossBar->GetScrollRange() : 0,
                  crossBar != nullptr ? crossBar->GetScrollPos() : 0, rules.crossLead,
                  rules.crossTrail, cross);
    const TSpan mainSpan{position + rules.mainLead, position + rules.mainLead + main};
    item->SetPos(axis.MakeRect(mainSpan, crossSpan), false);
    position += main + rules.mainLead + rules.mainTrail + childPadding;
    neededMain += main + rules.mainLead + rules.mainTrail;
    remainingMain -= main + rules.mainTrail + childPadding;
  }
  neededMain += measure.paddingTotal;
  const SIZE needed = axis.Make(neededMain, measure.neededCross);
  box.ProcessScrollBar(rc, needed.cx, needed.cy);
}

}  // namespace

// ---- CBoxLayoutUI: the separator ----

RECT CBoxLayoutUI::SeparatorStripRect() const {
  return SeparatorStrip(m_rcItem, m_iSeparator, m_bHorizontal);
}

RECT CBoxLayoutUI::DragLineRect() const {
  return SeparatorStrip(SeparatorDraggedItem(m_rcItem, m_nDragExtent, m_iSeparator, m_bHorizontal),
                        m_iSeparator, m_bHorizontal);
}

CControlUI* CBoxLayoutUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if (m_iSeparator != 0 && (flags & UIFIND_HITTEST) != 0 && data != nullptr) {
    bool candidate = true;
    if (PassesFindFilters(proc, data, flags, candidate) && candidate && IsEnabled()) {
      const RECT strip = SeparatorStripRect();
      if (::PtInRect(&strip, *static_cast<const POINT*>(data)) != FALSE) {
        CControlUI* found = proc(this, data);
        if (found != nullptr) return found;
      }
    }
  }
  return CContainerUI::FindControl(proc, data, flags);
}

UINT CBoxLayoutUI::GetControlFlags() const {
  return m_iSeparator != 0 ? UIFLAG_SETCURSOR : CContainerUI::GetControlFlags();
}

void CBoxLayoutUI::ApplyExtent(LONG extent) {
  if (m_bHorizontal) {
    SetFixedWidth(extent);
  } else {
    SetFixedHeight(extent);
  }
}

void CBoxLayoutUI::EndDrag() {
  m_bDragging = false;
  if (m_pManager == nullptr) return;
  m_pManager->RemovePostPaint(this);
  m_pManager->Invalidate(DragLineRect());
}

void CBoxLayoutUI::DoEvent(TEventUI& event) {
  if (m_iSeparator == 0 || !IsEnabled()) {
    CContainerUI::DoEvent(event);
    return;
  }
  const RECT strip = SeparatorStripRect();
  const bool onStrip = ::PtInRect(&strip, event.ptMouse) != FALSE;
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (!onStrip && !m_bDragging) break;
      ::SetCursor(::LoadCursorW(nullptr, m_bHorizontal ? IDC_SIZEWE : IDC_SIZENS));
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!onStrip) break;
      m_bDragging = true;
      m_ptDragStart = event.ptMouse;
      m_nDragStartExtent = m_bHorizontal ? m_rcItem.GetWidth() : m_rcItem.GetHeight();
      m_nDragExtent = m_nDragStartExtent;
      if (!m_bImmMode && m_pManager != nullptr) {
        m_pManager->AddPostPaint(this);
        m_pManager->Invalidate(DragLineRect());
      }
      return;
    case UIEVENT_MOUSEMOVE: {
      if (!m_bDragging) break;
      const LONG delta = m_bHorizontal ? event.ptMouse.x - m_ptDragStart.x
                                       : event.ptMouse.y - m_ptDragStart.y;
      const LONG extent =
          SeparatorDragExtent(m_nDragStartExtent, delta, m_iSeparator > 0,
                              m_bHorizontal ? GetMinWidth() : GetMinHeight(),
                              m_bHorizontal ? GetMaxWidth() : GetMaxHeight());
      if (extent == m_nDragExtent) return;
      if (m_bImmMode) {
        m_nDragExtent = extent;
        ApplyExtent(extent);
      } else if (m_pManager != nullptr) {
        m_pManager->Invalidate(DragLineRect());
        m_nDragExtent = extent;
        m_pManager->Invalidate(DragLineRect());
      }
      return;
    }
    case UIEVENT_BUTTONUP:
      if (!m_bDragging) break;
      EndDrag();
      if (!m_bImmMode) ApplyExtent(m_nDragExtent);
      return;
    default:
      break;
  }
  CContainerUI::DoEvent(event);
}

void CBoxLayoutUI::DoPostPaint(HDC hDC, const RECT& rcPaint) {
  if (m_bDragging && !m_bImmMode) CRenderEngine::DrawColor(hDC, DragLineRect(), kDragLineColor);
  CContainerUI::DoPostPaint(hDC, rcPaint);
}

// ---- CVerticalLayoutUI ----

const wchar_t* CVerticalLayoutUI::GetClass() const { return L"VerticalLayout"; }

void* CVerticalLayoutUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"VerticalLayout")) return this;
  return CBoxLayoutUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayOutBox(*this, TBoxAxis{false}, CrossAlignFromChildAlign(m_iChildAlign));
}

void CVerticalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"sepheight")) {
    SetSepHeight(ParseDecimal(value));
  } else if (NameIs(name, L"sepimm")) {
    SetSepImmMode(ParseBoolValue(value));
  } else {
    CBoxLayoutUI::SetAttribute(name, value);
  }
}

// ---- CHorizontalLayoutUI ----

const wchar_t* CHorizontalLayoutUI::GetClass() const { return L"HorizontalLayout"; }

void* CHorizontalLayoutUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"HorizontalLayout")) return this;
  return CBoxLayoutUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayOutBox(*this, TBoxAxis{true}, CrossAlignFromChildVAlign(m_iChildVAlign));
}

void CHorizontalLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"sepwidth")) {
    SetSepWidth(ParseDecimal(value));
  } else if (NameIs(name, L"sepimm")) {
    SetSepImmMode(ParseBoolValue(value));
  } else {
    CBoxLayoutUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
