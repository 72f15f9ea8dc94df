#include "uitoolkit/window/ui_builder_class_table.h"

#include "uitoolkit/controls/hosted/ui_activex.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/controls/hosted/ui_web_browser.h"
#include "uitoolkit/controls/layouts/ui_child_layout.h"
#include "uitoolkit/controls/layouts/ui_tab_layout.h"
#include "uitoolkit/controls/layouts/ui_tile_layout.h"
#include "uitoolkit/controls/lists/ui_combo.h"
#include "uitoolkit/controls/lists/ui_list.h"
#include "uitoolkit/controls/lists/ui_list_elements.h"
#include "uitoolkit/controls/lists/ui_list_header.h"
#include "uitoolkit/controls/single/ui_date_time.h"
#include "uitoolkit/controls/single/ui_gif_anim.h"
#include "uitoolkit/controls/single/ui_slider.h"
#include "uitoolkit/controls/tree/ui_tree_view.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_button.h"
#include "uitoolkit/controls/ui_check_box.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_edit.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_option.h"
#include "uitoolkit/controls/ui_progress.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/controls/ui_text.h"
#include "uitoolkit/window/ui_skin_elements.h"

namespace SkinUI {
namespace {

template <class Control>
CControlUI* Make() {
  return new Control();
}

struct TClassRow {
  const wchar_t* elementName;
  CControlUI* (*create)();
};

const TClassRow kClassTable[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"VBox", &Make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"HBox", &Make<CHorizontalLayoutUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CTextUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Edit", &Make<CEditUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"TileLayout", &Make<CTileLayoutUI>},
    {L"ChildLayout", &Make<CChildLayoutUI>},
    // The further controls.
    {L"RichEdit", &Make<CRichEditUI>},
    {L"Slider", &Make<CSliderUI>},
    {L"ScrollBar", &Make<CScrollBarUI>},
    {L"Combo", &Make<CComboUI>},
    {L"ComboBox", &Make<CComboUI>},
    {L"DateTime", &Make<CDateTimeUI>},
    {L"List", &Make<CListUI>},
    {L"ListHeader", &Make<CListHeaderUI>},
    {L"ListHeaderItem", &Make<CListHeaderItemUI>},
    {L"ListLabelElement", &Make<CListLabelElementUI>},
    {L"ListTextElement", &Make<CListTextElementUI>},
    {L"ListHBoxElement", &Make<CListHBoxElementUI>},
    {L"ListContainerElement", &Make<CListContainerElementUI>},
    {L"Tree", &Make<CTreeViewUI>},
    {L"TreeView", &Make<CTreeViewUI>},
    {L"TreeNode", &Make<CTreeNodeUI>},
    {L"ActiveX", &Make<CActiveXUI>},
    {L"WebBrowser", &Make<CWebBrowserUI>},
    {L"GifAnim", &Make<CGifAnimUI>},
};

}  // namespace

CControlUI* CreateControlFromClassTable(const wchar_t* elementName) {
  for (const TClassRow& row : kClassTable) {
    if (IsSkinElement(elementName, row.elementName)) return row.create();
  }
  return nullptr;
}

}  // namespace SkinUI
