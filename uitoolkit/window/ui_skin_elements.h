// The skin builder's reading of elements as small pure steps: element-name matching, the
// resource elements (Image, Font, Default, MultiLanguage) and Include read into records, and
// the registration of the records and of the Window attributes with a paint manager.
#pragma once

#include <windows.h>

#include "uitoolkit/core/markup.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CPaintManagerUI;

// Element names ignore case, except `GifAnim`, which must be written exactly so.
bool IsSkinElement(const wchar_t* elementName, const wchar_t* expected);
// Image, Font, Default or MultiLanguage.
bool IsResourceElement(const wchar_t* elementName);

// Longest `source` of an Include, in characters; a longer one includes nothing.
constexpr int kMaxIncludeSourceLength = 499;

struct TImageElement {
  CUiString name;
  CUiString resType;  // empty: no resource type
  DWORD mask = 0;
  bool shared = false;  // takes part in the global hue/saturation/lightness adjustment
};

struct TFontElement {
  int id = -1;
  CUiString name;
  int size = 12;
  bool bold = false;
  bool underline = false;
  bool italic = false;
  bool isDefault = false;
  bool shared = false;
};

struct TDefaultElement {
  CUiString name;
  CUiString value;
  bool shared = false;
};

struct TMultiLanguageElement {
  int id = -1;
  CUiString value;
};

struct TIncludeElement {
  CUiString source;
  int count = 1;
};

// Each reader answers whether the element is registered at all: an Image needs a name, a Font a
// non-negative id and a face name, a Default a name, a MultiLanguage a non-negative id and a
// value. Attribute names ignore case; booleans are "true" ignoring case; numbers are decimal and
// the mask hexadecimal after an optional '#'.
bool ReadImageElement(const CMarkupNode& node, TImageElement& image);
bool ReadFontElement(const CMarkupNode& node, TFontElement& font);
bool ReadDefaultElement(const CMarkupNode& node, TDefaultElement& entry);
bool ReadMultiLanguageElement(const CMarkupNode& node, TMultiLanguageElement& entry);
// `source` (exact name; empty when longer than kMaxIncludeSourceLength) and `count` (decimal,
// default 1).
void ReadIncludeElement(const CMarkupNode& node, TIncludeElement& include);

// Registers the resource elements among `root`'s children with `manager`, in document order.
void RegisterSkinResources(const CMarkupNode& root, CPaintManagerUI& manager);
// Hands every attribute of `root` to the manager's SetWindowAttribute, in document order.
void ApplyWindowAttributes(const CMarkupNode& root, CPaintManagerUI& manager);

}  // namespace SkinUI
