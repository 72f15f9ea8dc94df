#include "uitoolkit/window/ui_skin_elements.h"

#include <cwchar>

#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {
namespace {

// Equal ignoring case, without making a copy (called for every element and attribute).
bool NoCaseIs(const wchar_t* text, const wchar_t* expected) {
  if (text == nullptr) return false;
  for (;; ++text, ++expected) {
    if (Platform::ToUpper(*text) != Platform::ToUpper(*expected)) return false;
    if (*text == L'\0') return true;
  }
}

bool TrueNoCase(const wchar_t* value) { return NoCaseIs(value, L"true"); }

int DecimalInt(const wchar_t* value) { return static_cast<int>(ParseDecimal(value)); }

}  // namespace

bool IsSkinElement(const wchar_t* elementName, const wchar_t* expected) {
  if (elementName == nullptr || expected == nullptr) return false;
  if (std::wcscmp(expected, L"GifAnim") == 0) return std::wcscmp(elementName, expected) == 0;
  return NoCaseIs(elementName, expected);
}

bool IsResourceElement(const wchar_t* elementName) {
  return IsSkinElement(elementName, L"Image") || IsSkinElement(elementName, L"Font") ||
         IsSkinElement(elementName, L"Default") || IsSkinElement(elementName, L"MultiLanguage");
}

bool ReadImageElement(const CMarkupNode& node, TImageElement& image) {
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    const wchar_t* name = node.GetAttributeName(i);
    const wchar_t* value = node.GetAttributeValue(i);
    if (NoCaseIs(name, L"name")) {
      image.name = value;
    } else if (NoCaseIs(name, L"restype")) {
      image.resType = value;
    } else if (NoCaseIs(name, L"mask")) {
      image.mask = ParseColor(value);
    } else if (NoCaseIs(name, L"shared")) {
      image.shared = TrueNoCase(value);
    }
  }
  return !image.name.IsEmpty();
}

bool ReadFontElement(const CMarkupNode& node, TFontElement& font) {
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    const wchar_t* name = node.GetAttributeName(i);
    const wchar_t* value = node.GetAttributeValue(i);
    if (NoCaseIs(name, L"id")) {
      font.id = DecimalInt(value);
    } else if (NoCaseIs(name, L"name")) {
      font.name = value;
    } else if (NoCaseIs(name, L"size")) {
      font.size = DecimalInt(value);
    } else if (NoCaseIs(name, L"bold")) {
      font.bold = TrueNoCase(value);
    } else if (NoCaseIs(name, L"underline")) {
      font.underline = TrueNoCase(value);
    } else if (NoCaseIs(name, L"italic")) {
      font.italic = TrueNoCase(value);
    } else if (NoCaseIs(name, L"default")) {
      font.isDefault = TrueNoCase(value);
    } else if (NoCaseIs(name, L"shared")) {
      font.shared = TrueNoCase(value);
    }
  }
  return font.id >= 0 && !font.name.IsEmpty();
}

bool ReadDefaultElement(const CMarkupNode& node, TDefaultElement& entry) {
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    const wchar_t* name = node.GetAttributeName(i);
    const wchar_t* value = node.GetAttributeValue(i);
    if (NoCaseIs(name, L"name")) {
      entry.name = value;
    } else if (NoCaseIs(name, L"value")) {
      entry.value = value;
    } else if (NoCaseIs(name, L"shared")) {
      entry.shared = TrueNoCase(value);
    }
  }
  return !entry.name.IsEmpty();
}

bool ReadMultiLanguageElement(const CMarkupNode& node, TMultiLanguageElement& entry) {
  bool hasValue = false;
  for (int i = 0; i < node.GetAttributeCount(); ++i) {
    const wchar_t* name = node.GetAttributeName(i);
    const wchar_t* value = node.GetAttributeValue(i);
    if (NoCaseIs(name, L"id")) {
      entry.id = DecimalInt(value);
    } else if (NoCaseIs(name, L"value")) {
      entry.value = value;
      hasValue = true;
    }
  }
  return entry.id >= 0 && hasValue;
}

void ReadIncludeElement(const CMarkupNode& node, TIncludeElement& include) {
  wchar_t source[kMaxIncludeSourceLength + 1] = {};
  // A source that does not fit is not cut: it names nothing.
  if (node.GetAttributeValue(L"source", source, kMaxIncludeSourceLength + 1)) {
    include.source = source;
  }
  if (node.HasAttribute(L"count")) include.count = DecimalInt(node.GetAttributeValue(L"count"));
}

void RegisterSkinResources(const CMarkupNode& root, CPaintManagerUI& manager) {
  for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
    const wchar_t* element = node.GetName();
    if (IsSkinElement(element, L"Image")) {
      TImageElement image;
      if (!ReadImageElement(node, image)) continue;
      manager.AddImage(image.name, image.resType.IsEmpty() ? nullptr : image.resType.GetData(),
                       image.mask, image.shared, false);
    } else if (IsSkinElement(element, L"Font")) {
      TFontElement font;
      if (!ReadFontElement(node, font)) continue;
      manager.AddFont(font.id, font.name, font.size, font.bold, font.underline, font.italic,
                      font.shared);
      if (font.isDefault) {
        manager.SetDefaultFont(font.name, font.size, font.bold, font.underline, font.italic,
                               font.shared);
      }
    } else if (IsSkinElement(element, L"Default")) {
      TDefaultElement entry;
      if (!ReadDefaultElement(node, entry)) continue;
      manager.AddDefaultAttributeList(entry.name, entry.value, entry.shared);
    } else if (IsSkinElement(element, L"MultiLanguage")) {
      TMultiLanguageElement entry;
      if (!ReadMultiLanguageElement(node, entry)) continue;
      CPaintManagerUI::AddMultiLanguageString(entry.id, entry.value);
    }
  }
}

void ApplyWindowAttributes(const CMarkupNode& root, CPaintManagerUI& manager) {
  for (int i = 0; i < root.GetAttributeCount(); ++i) {
    manager.SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
  }
}

}  // namespace SkinUI
