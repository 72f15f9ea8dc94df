#include "uitoolkit/controls/lists/ui_list_info_attributes.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

struct TListColorAttribute {
  const wchar_t* name;
  DWORD TListInfoUI::*color;
};
const TListColorAttribute kColorAttributes[] = {
    {L"itemtextcolor", &TListInfoUI::textColor},
    {L"itembkcolor", &TListInfoUI::bkColor},
    {L"itemaltbk", &TListInfoUI::alternateBkColor},
    {L"itemalternatebkcolor", &TListInfoUI::alternateBkColor},
    {L"itemhottextcolor", &TListInfoUI::hotTextColor},
    {L"itemhotbkcolor", &TListInfoUI::hotBkColor},
    {L"itemselectedtextcolor", &TListInfoUI::selectedTextColor},
    {L"itemselectedbkcolor", &TListInfoUI::selectedBkColor},
    {L"itemdisabledtextcolor", &TListInfoUI::disabledTextColor},
    {L"itemdisabledbkcolor", &TListInfoUI::disabledBkColor},
    {L"itemlinecolor", &TListInfoUI::lineColor},
};
struct TListImageAttribute {
  const wchar_t* name;
  CUiString TListInfoUI::*image;
};
const TListImageAttribute kImageAttributes[] = {
    {L"itembkimage", &TListInfoUI::bkImage},
    {L"itemhotimage", &TListInfoUI::hotImage},
    {L"itemselectedimage", &TListInfoUI::selectedImage},
    {L"itemdisabledimage", &TListInfoUI::disabledImage},
};

}  // namespace

bool SetListInfoAttribute(TListInfoUI& info, const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return false;
  if (value == nullptr) value = L"";
  for (const TListColorAttribute& attribute : kColorAttributes) {
    if (NameIs(name, attribute.name)) {
      info.*attribute.color = ParseColor(value);
      return true;
    }
  }
  for (const TListImageAttribute& attribute : kImageAttributes) {
    if (NameIs(name, attribute.name)) {
      info.*attribute.image = value;
      return true;
    }
  }
  if (NameIs(name, L"itemheight")) {
    info.itemHeight = std::max<LONG>(0, ParseDecimal(value));
  } else if (NameIs(name, L"itemfont")) {
    info.font = ParseDecimal(value);
  } else if (NameIs(name, L"itemalign")) {
    info.textStyle = ApplyAlignValue(info.textStyle, value);
  } else if (NameIs(name, L"itemendellipsis")) {
    info.textStyle = ParseBoolValue(value) ? info.textStyle | DT_END_ELLIPSIS
                                           : info.textStyle & ~DT_END_ELLIPSIS;
  } else if (NameIs(name, L"itemtextpadding")) {
    info.textPadding = ParseRectValue(value);
  } else if (NameIs(name, L"itemshowhtml")) {
    info.showHtml = ParseBoolValue(value);
  } else {
    return false;
  }
  return true;
}

int ListFontHeight(IControlManagerUI* manager, int font) {
  if (manager == nullptr) return 0;
  HFONT handle = manager->GetFont(font);
  LOGFONTW logFont = {};
  if (handle == nullptr || ::GetObjectW(handle, sizeof(logFont), &logFont) == 0) return 0;
  return logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
}

}  // namespace SkinUI
