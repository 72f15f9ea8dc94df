#include "uitoolkit/core/markup.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "uitoolkit/core/markup_scan.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {
namespace {

const wchar_t kEmpty[] = L"";

inline bool IsWhitespace(wchar_t ch) {
  return static_cast<std::uint32_t>(ch) >= 1 && static_cast<std::uint32_t>(ch) <= 32;
}

// Tests four characters per round; a character is only read once the one before it has been
// accepted, so it never reads past the terminator.
inline void SkipWhitespace(wchar_t*& text) {
  for (;; text += 4) {
    if (!IsWhitespace(text[0])) return;
    if (!IsWhitespace(text[1])) break;
    if (!IsWhitespace(text[2])) {
      text += 2;
      return;
    }
    if (!IsWhitespace(text[3])) {
      text += 3;
      return;
    }
  }
  text += 1;
}

inline void SkipWhitespace(const wchar_t*& text, const wchar_t* end) {
  while (text < end && IsWhitespace(*text)) ++text;
}

// Skips a name: ASCII letters, digits, '_' and ':', and letters and digits of other scripts.
inline void SkipIdentifier(wchar_t*& text) {
  for (;; ++text) {
    const wchar_t ch = *text;
    if ((ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || (ch >= L'0' && ch <= L':') ||
        ch == L'_') {
      continue;
    }
    if (static_cast<std::uint32_t>(ch) < 128 || !Platform::IsAlphaNumeric(ch)) return;
  }
}

// Copies `text` into `buffer` of `max` characters, cut to max - 1 and always terminated; the rest
// of the buffer is filled with NULs.
void CopyTerminated(const wchar_t* text, wchar_t* buffer, std::size_t max) {
  if (buffer == nullptr || max == 0) return;
  std::size_t i = 0;
  for (; i + 1 < max && text[i] != L'\0'; ++i) buffer[i] = text[i];
  for (; i < max; ++i) buffer[i] = L'\0';
}

// The entities the markup knows, without their leading '&'.
struct Entity {
  const wchar_t* name;
  std::size_t length;
  wchar_t value;
};
const Entity kEntities[] = {
    {L"amp;", 4, L'&'}, {L"apos;", 5, L'\''}, {L"lt;", 3, L'<'}, {L"gt;", 3, L'>'},
    {L"quot;", 5, L'"'},
};

// The length of the entity name at `text` (after '&') and its character; 0 when none matches.
std::size_t MatchEntity(const wchar_t* text, wchar_t& value) {
  for (const Entity& entity : kEntities) {
    std::size_t i = 0;
    while (i < entity.length && text[i] == entity.name[i]) ++i;
    if (i == entity.length) {
      value = entity.value;
      return entity.length;
    }
  }
  return 0;
}

bool FitsOffset(std::size_t length) { return length < 0xFFFFFFFFu; }

// A text buffer for `length` characters, with its terminator and the zeroed padding the vector
// search reads past it; null when memory is short.
std::unique_ptr<wchar_t[]> AllocateText(std::size_t length) {
  std::unique_ptr<wchar_t[]> text(new (std::nothrow) wchar_t[length + 1 + kMarkupScanPadding]);
  if (text != nullptr) {
    for (std::size_t i = length; i <= length + kMarkupScanPadding; ++i) text[i] = L'\0';
  }
  return text;
}

// Decodes the character data from `source`, which holds its first entity or collapsed space, up
// to the terminator or `end`: each decoded character is written at `out`, and the runs of plain
// data between them move down. Returns where the data ends; the gap behind it is blanked.
wchar_t* DecodeData(wchar_t*& source, wchar_t* out, wchar_t end, const MarkupStops& stops) {
  for (;;) {
    const wchar_t ch = *source;
    if (ch == end || ch == L'\0') break;
    if (ch == L'&') {
      wchar_t value = L'&';
      const std::size_t length = MatchEntity(source + 1, value);
      *out++ = value;
      source += 1 + length;
    } else {
      // A space while whitespace is not preserved: the whitespace after it is dropped.
      *out++ = *source++;
      SkipWhitespace(source);
    }
    stops.Move(source, out);
  }
  for (wchar_t* fill = out; fill < source; ++fill) *fill = L' ';
  return out;
}

// Where a run of character data ends in the text, and where its decoded characters end.
struct DataEnd {
  wchar_t* text;
  wchar_t* data;
};

// Decodes character data in place from `text` up to `end` or the end of the text; `stops` are
// the terminator, `end`, '&' and, when whitespace is collapsed, the space. The gap left by decoded
// entities is blanked.
inline DataEnd ParseData(wchar_t* text, wchar_t end, const MarkupStops& stops) {
  // Until the first entity or collapsed space nothing moves: only scan.
  text = stops.Find(text);
  if (*text == end || *text == L'\0') return DataEnd{text, text};
  wchar_t* const data = DecodeData(text, text, end, stops);
  return DataEnd{text, data};
}

// The position of the terminator at or after `text`, but not beyond `end`.
const wchar_t* SkipToTerminator(const wchar_t* text, const wchar_t* end) {
  const wchar_t* terminator = MarkupStops(L'\0', L'\0', L'\0').Find(text);
  return terminator < end ? terminator : end;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CMarkupNode

CMarkupNode& CMarkupNode::operator=(const CMarkupNode& other) {
  if (this != &other) {
    m_row = other.m_row;
    m_owner = other.m_owner;
    m_attributeCount = other.m_attributeCount;
    for (int i = 0; i < m_attributeCount; ++i) m_attributes[i] = other.m_attributes[i];
  }
  return *this;
}

const tagXMLELEMENT* CMarkupNode::Element() const {
  if (m_owner == nullptr || m_owner->m_elements == nullptr || m_row <= 0 ||
      static_cast<std::uint32_t>(m_row) >= m_owner->m_elementCount) {
    return nullptr;
  }
  return &m_owner->m_elements[static_cast<std::size_t>(m_row)];
}

CMarkupNode CMarkupNode::GetParent() const {
  const tagXMLELEMENT* element = Element();
  if (element == nullptr || element->parent == 0) return CMarkupNode();
  return CMarkupNode(m_owner, static_cast<int>(element->parent));
}

CMarkupNode CMarkupNode::GetSibling() const {
  const tagXMLELEMENT* element = Element();
  if (element == nullptr || element->nextSibling == 0) return CMarkupNode();
  return CMarkupNode(m_owner, static_cast<int>(element->nextSibling));
}

CMarkupNode CMarkupNode::GetChild() const {
  const tagXMLELEMENT* element = Element();
  if (element == nullptr || element->firstChild == 0) return CMarkupNode();
  return CMarkupNode(m_owner, static_cast<int>(element->firstChild));
}

CMarkupNode CMarkupNode::GetChild(const wchar_t* name) const {
  const tagXMLELEMENT* element = Element();
  if (element == nullptr || name == nullptr) return CMarkupNode();
  const wchar_t* text = m_owner->m_text.get();
  for (std::uint32_t row = element->firstChild; row != 0;
       row = m_owner->m_elements[row].nextSibling) {
    if (std::wcscmp(text + m_owner->m_elements[row].nameOffset, name) == 0) {
      return CMarkupNode(m_owner, static_cast<int>(row));
    }
  }
  return CMarkupNode();
}

bool CMarkupNode::HasSiblings() const {
  const tagXMLELEMENT* element = Element();
  return element != nullptr && element->nextSibling != 0;
}

bool CMarkupNode::HasChildren() const {
  const tagXMLELEMENT* element = Element();
  return element != nullptr && element->firstChild != 0;
}

const wchar_t* CMarkupNode::GetName() const {
  const tagXMLELEMENT* element = Element();
  return element == nullptr ? nullptr : m_owner->m_text.get() + element->nameOffset;
}

const wchar_t* CMarkupNode::GetValue() const {
  const tagXMLELEMENT* element = Element();
  return element == nullptr ? nullptr : m_owner->m_text.get() + element->dataOffset;
}

void CMarkupNode::MapAttributes() const {
  m_attributeCount = 0;
  const tagXMLELEMENT* element = Element();
  if (element == nullptr) return;
  const wchar_t* base = m_owner->m_text.get();
  const wchar_t* end = base + element->dataOffset;
  const wchar_t* position = base + element->nameOffset;
  // Skip the name and its terminator; the attributes lie between it and the element's data.
  position = SkipToTerminator(position, end) + 1;
  while (position < end) {
    SkipWhitespace(position, end);
    if (position >= end || *position == L'>' || *position == L'/') return;
    const wchar_t* name = position;
    position = SkipToTerminator(position, end);
    if (position >= end) return;
    ++position;
    SkipWhitespace(position, end);
    if (position >= end || *position != L'"') return;
    ++position;
    m_attributes[m_attributeCount].nameOffset = static_cast<std::uint32_t>(name - base);
    m_attributes[m_attributeCount].valueOffset = static_cast<std::uint32_t>(position - base);
    if (++m_attributeCount >= kMaxAttributes) return;
    position = SkipToTerminator(position, end) + 1;
  }
}

int CMarkupNode::FindAttribute(const wchar_t* name) const {
  if (name == nullptr || Element() == nullptr) return -1;
  if (m_attributeCount == 0) MapAttributes();
  const wchar_t* base = m_owner->m_text.get();
  for (int i = 0; i < m_attributeCount; ++i) {
    if (std::wcscmp(base + m_attributes[i].nameOffset, name) == 0) return i;
  }
  return -1;
}

bool CMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

bool CMarkupNode::HasAttribute(const wchar_t* name) const { return FindAttribute(name) >= 0; }

int CMarkupNode::GetAttributeCount() const {
  if (Element() == nullptr) return 0;
  if (m_attributeCount == 0) MapAttributes();
  return m_attributeCount;
}

const wchar_t* CMarkupNode::GetAttributeName(int index) const {
  if (Element() == nullptr) return nullptr;
  if (m_attributeCount == 0) MapAttributes();
  if (index < 0 || index >= m_attributeCount) return kEmpty;
  return m_owner->m_text.get() + m_attributes[index].nameOffset;
}

const wchar_t* CMarkupNode::GetAttributeValue(int index) const {
  if (Element() == nullptr) return nullptr;
  if (m_attributeCount == 0) MapAttributes();
  if (index < 0 || index >= m_attributeCount) return kEmpty;
  return m_owner->m_text.get() + m_attributes[index].valueOffset;
}

const wchar_t* CMarkupNode::GetAttributeValue(const wchar_t* name) const {
  const int index = FindAttribute(name);
  if (index < 0) return kEmpty;
  return m_owner->m_text.get() + m_attributes[index].valueOffset;
}

namespace {

bool CopyWhole(const wchar_t* value, wchar_t* buffer, std::size_t max) {
  if (buffer == nullptr || max == 0) return false;
  const std::size_t length = value == nullptr ? 0 : std::wcslen(value);
  if (value == nullptr || length >= max) {
    CopyTerminated(kEmpty, buffer, max);
    return false;
  }
  CopyTerminated(value, buffer, max);
  return true;
}

}  // namespace

bool CMarkupNode::GetAttributeValue(int index, wchar_t* buffer, std::size_t max) const {
  if (Element() == nullptr) return CopyWhole(nullptr, buffer, max);
  if (m_attributeCount == 0) MapAttributes();
  if (index < 0 || index >= m_attributeCount) return CopyWhole(nullptr, buffer, max);
  return CopyWhole(m_owner->m_text.get() + m_attributes[index].valueOffset, buffer, max);
}

bool CMarkupNode::GetAttributeValue(const wchar_t* name, wchar_t* buffer, std::size_t max) const {
  const int index = FindAttribute(name);
  if (index < 0) return CopyWhole(nullptr, buffer, max);
  return CopyWhole(m_owner->m_text.get() + m_attributes[index].valueOffset, buffer, max);
}

// ---------------------------------------------------------------------------------------------
// CMarkup: loading

CMarkup::CMarkup(const wchar_t* xml) {
  // A caller of this constructor asks IsValid() for the outcome.
  if (xml != nullptr) (void)Load(xml);
}

CMarkup::~CMarkup() { Release(); }

void CMarkup::Release() { FreeDocument(); }

void CMarkup::FreeDocument() {
  m_text.reset();
  m_elements.reset();
  m_elementCount = 0;
  m_reservedCount = 0;
}

void CMarkup::SetError(const wchar_t* message) {
  CopyTerminated(message, m_errorMessage, sizeof(m_errorMessage) / sizeof(m_errorMessage[0]));
  m_errorLocation[0] = L'\0';
}

void CMarkup::GetLastErrorMessage(wchar_t* buffer, std::size_t max) const {
  CopyTerminated(m_errorMessage, buffer, max);
}

void CMarkup::GetLastErrorLocation(wchar_t* buffer, std::size_t max) const {
  CopyTerminated(m_errorLocation, buffer, max);
}

CMarkupNode CMarkup::GetRoot() {
  if (m_elements == nullptr || m_elementCount < 2) return CMarkupNode();
  return CMarkupNode(this, 1);
}

bool CMarkup::TakeText(std::unique_ptr<wchar_t[]> text, std::size_t length) {
  text[length] = L'\0';
  m_text = std::move(text);
  if (Parse()) return true;
  FreeDocument();
  return false;
}

bool CMarkup::Load(const wchar_t* xml) {
  FreeDocument();
  const std::size_t length = xml == nullptr ? 0 : std::wcslen(xml);
  if (!FitsOffset(length)) {
    SetError(L"File too large");
    return false;
  }
  std::unique_ptr<wchar_t[]> text = AllocateText(length);
  if (text == nullptr) {
    SetError(L"Out of memory");
    return false;
  }
  if (length > 0) std::memcpy(text.get(), xml, length * sizeof(wchar_t));
  return TakeText(std::move(text), length);
}

bool CMarkup::LoadFromMem(const void* bytes, std::uint32_t size, int encoding) {
  FreeDocument();
  if (bytes == nullptr && size > 0) {
    SetError(L"Could not read file");
    return false;
  }
  const unsigned char* input = static_cast<const unsigned char*>(bytes);
  if (encoding == MarkupEncodingUtf8 || encoding == MarkupEncodingAnsi) {
    const char* start = reinterpret_cast<const char*>(input);
    std::size_t count = size;
    if (encoding == MarkupEncodingUtf8 && count >= 3 && input[0] == 0xEF && input[1] == 0xBB &&
        input[2] == 0xBF) {
      start += 3;
      count -= 3;
    }
    // Every byte yields at most one UTF-16 code unit, so `count` units always suffice.
    std::unique_ptr<wchar_t[]> text = AllocateText(count);
    if (text == nullptr) {
      SetError(L"Out of memory");
      return false;
    }
    const Platform::CodePage page =
        encoding == MarkupEncodingUtf8 ? Platform::CodePage::Utf8 : Platform::CodePage::Ansi;
    std::size_t length = Platform::MultiByteToWide(page, start, count, text.get(), count);
    if (length > count) length = count;
    return TakeText(std::move(text), length);
  }
  // UTF-16: a byte-order mark decides the byte order; text without one has no defined reading.
  if (size < 2 || !((input[0] == 0xFF && input[1] == 0xFE) || (input[0] == 0xFE && input[1] == 0xFF))) {
    SetError(L"Expected byte order mark");
    return false;
  }
  const bool bigEndian = input[0] == 0xFE;
  const std::size_t units = size / 2 - 1;
  std::unique_ptr<wchar_t[]> text = AllocateText(units);
  if (text == nullptr) {
    SetError(L"Out of memory");
    return false;
  }
  const unsigned char* source = input + 2;
  for (std::size_t i = 0; i < units; ++i, source += 2) {
    const unsigned first = source[0];
    const unsigned second = source[1];
    text[i] = static_cast<wchar_t>(bigEndian ? ((first << 8) | second) : ((second << 8) | first));
  }
  return TakeText(std::move(text), units);
}

bool CMarkup::LoadFromFile(const wchar_t* name, int encoding) {
  FreeDocument();
  std::vector<unsigned char> bytes;
  const ResourceReadResult result = CResourceFiles::Read(name, kMaxMarkupFileSize, bytes);
  if (result != ResourceReadResult::Ok) {
    SetError(CResourceFiles::Describe(result));
    return false;
  }
  return LoadFromMem(bytes.data(), static_cast<std::uint32_t>(bytes.size()), encoding);
}

// ---------------------------------------------------------------------------------------------
// CMarkup: parsing

bool CMarkup::ReserveRow(std::uint32_t& row) {
  if (m_elementCount == m_reservedCount) {
    const std::uint64_t grown = static_cast<std::uint64_t>(m_reservedCount) + 500u + m_reservedCount / 2;
    if (grown > 0xFFFFFFFFu) return false;
    std::unique_ptr<tagXMLELEMENT[]> table(new (std::nothrow) tagXMLELEMENT[static_cast<std::size_t>(grown)]);
    if (table == nullptr) return false;
    if (m_elementCount > 0) {
      std::memcpy(table.get(), m_elements.get(), m_elementCount * sizeof(tagXMLELEMENT));
    }
    m_elements = std::move(table);
    m_reservedCount = static_cast<std::uint32_t>(grown);
  }
  row = m_elementCount++;
  tagXMLELEMENT& element = m_elements[row];
  element.nameOffset = 0;
  element.firstChild = 0;
  element.nextSibling = 0;
  element.parent = 0;
  element.dataOffset = 0;
  return true;
}

bool CMarkup::Failed(const wchar_t* message, const wchar_t* location) {
  CopyTerminated(message, m_errorMessage, sizeof(m_errorMessage) / sizeof(m_errorMessage[0]));
  CopyTerminated(location == nullptr ? kEmpty : location, m_errorLocation,
                 sizeof(m_errorLocation) / sizeof(m_errorLocation[0]));
  return false;
}

bool CMarkup::Parse() {
  m_errorMessage[0] = L'\0';
  m_errorLocation[0] = L'\0';
  m_elements.reset();
  m_elementCount = 0;
  m_reservedCount = 0;
  std::uint32_t placeholder = 0;
  if (!ReserveRow(placeholder)) return Failed(L"Out of memory", nullptr);
  return ParseElements(m_text.get());
}

// The searches of one parse. Character data ends at '<', attribute values at '"'; both stop at
// entities and, when whitespace is collapsed, at spaces.
struct MarkupScanners {
  explicit MarkupScanners(bool preserveWhitespace)
      : data(L'<', L'&', preserveWhitespace ? L'&' : L' '),
        values(L'"', L'&', preserveWhitespace ? L'&' : L' ') {}

  MarkupStops data;
  MarkupStops values;
};

// An element whose end tag has not been read yet.
struct CMarkup::OpenElement {
  std::uint32_t row;
  wchar_t* name;
  wchar_t* nameEnd;
  wchar_t* dataEnd;        // where the element's character data ends
  std::uint32_t lastChild;  // last child parsed so far, 0 = none
};

const wchar_t* CMarkup::CloseOpenElement(wchar_t*& text, std::vector<OpenElement>& open) {
  static const wchar_t kUnmatched[] = L"Unmatched closing tag";
  if (open.empty()) return kUnmatched;
  OpenElement element = open.back();
  open.pop_back();
  *element.dataEnd = L'\0';
  *text = L'\0';
  text += 2;
  SkipWhitespace(text);
  const std::size_t nameLength = static_cast<std::size_t>(element.nameEnd - element.name);
  for (std::size_t i = 0; i < nameLength; ++i) {
    if (text[i] != element.name[i]) return kUnmatched;
  }
  text += nameLength;
  SkipWhitespace(text);
  if (*text != L'>') return kUnmatched;
  ++text;
  *element.nameEnd = L'\0';
  SkipWhitespace(text);
  return nullptr;
}

// Parses the whole text as a sequence of elements. Nesting is tracked on an explicit stack, so
// deeply nested input cannot exhaust the thread's stack.
bool CMarkup::ParseElements(wchar_t* text) {
  wchar_t* const base = m_text.get();
  const MarkupScanners scan(m_preserveWhitespace);
  std::vector<OpenElement> open;
  open.reserve(32);  // skins nest a few levels; deeper documents grow it
  std::uint32_t lastTopLevel = 0;

  // The document ended while elements were still open (allowed at the first two levels): their
  // names and data are terminated as a closed element's would be.
  auto finish = [&open]() {
    for (OpenElement& element : open) {
      *element.nameEnd = L'\0';
      *element.dataEnd = L'\0';
    }
    return true;
  };

  SkipWhitespace(text);
  for (;;) {
    const std::uint32_t parent = open.empty() ? 0 : open.back().row;
    if (*text == L'\0' && parent <= 1) return finish();
    SkipWhitespace(text);
    if (*text != L'<') return Failed(L"Expected start tag", text);
    if (text[1] == L'/') {
      const wchar_t* error = CloseOpenElement(text, open);
      if (error != nullptr) return Failed(error, text);
      continue;
    }
    *text = L'\0';
    ++text;
    SkipWhitespace(text);
    if (*text == L'!' || *text == L'?') {
      // A comment or declaration: skipped up to and including "->" or "?>".
      const wchar_t last = *text == L'!' ? L'-' : L'?';
      while (*text != L'\0' && !(text[0] == last && text[1] == L'>')) ++text;
      if (*text != L'\0') text += 2;
      SkipWhitespace(text);
      continue;
    }

    std::uint32_t row = 0;
    if (!ReserveRow(row)) return Failed(L"Out of memory", text);
    tagXMLELEMENT& element = m_elements[row];
    element.nameOffset = static_cast<std::uint32_t>(text - base);
    element.parent = parent;
    std::uint32_t& previous = open.empty() ? lastTopLevel : open.back().lastChild;
    if (previous != 0) {
      m_elements[previous].nextSibling = row;
    } else if (parent > 0) {
      m_elements[parent].firstChild = row;
    }
    previous = row;

    wchar_t* name = text;
    SkipIdentifier(text);
    if (*text == L'\0') return Failed(L"Error parsing element name", text);
    wchar_t* nameEnd = text;
    text = ParseAttributes(text, scan);
    if (text == nullptr) return false;
    SkipWhitespace(text);
    if (text[0] == L'/' && text[1] == L'>') {
      m_elements[row].dataOffset = static_cast<std::uint32_t>(text - base);
      *text = L'\0';
      text += 2;
      *nameEnd = L'\0';
      SkipWhitespace(text);
      continue;
    }
    if (*text != L'>') return Failed(L"Expected start-tag closing", text);
    ++text;
    m_elements[row].dataOffset = static_cast<std::uint32_t>(text - base);
    const DataEnd data = ParseData(text, L'<', scan.data);
    text = data.text;
    open.push_back(OpenElement{row, name, nameEnd, data.data, 0});
    if (*text == L'\0' && parent <= 1) return finish();
    if (*text != L'<') return Failed(L"Expected end-tag start", text);
    // Either the element's end tag or its first child follows; the loop handles both.
  }
}

// Entered right after an element name.
wchar_t* CMarkup::ParseAttributes(wchar_t* text, const MarkupScanners& scan) {
  if (*text == L'>') return text;
  // A '/' straight after the name belongs to an empty-element tag ("<Name/>"); anything else
  // ends the name and is overwritten.
  if (*text != L'/') {
    *text = L'\0';
    ++text;
  }
  SkipWhitespace(text);
  while (*text != L'\0' && *text != L'>' && *text != L'/') {
    SkipIdentifier(text);
    wchar_t* nameEnd = text;
    SkipWhitespace(text);
    if (*text != L'=') {
      Failed(L"Error while parsing attributes", text);
      return nullptr;
    }
    *text = L' ';
    *nameEnd = L'\0';
    ++text;
    SkipWhitespace(text);
    if (*text != L'"') {
      Failed(L"Expected attribute value", text);
      return nullptr;
    }
    const DataEnd value = ParseData(text + 1, L'"', scan.values);
    text = value.text;
    if (*text == L'\0') {
      Failed(L"Error while parsing attribute string", text);
      return nullptr;
    }
    *value.data = L'\0';
    // The closing quote becomes blank (or stays the terminator), so the attribute mapping walks
    // on to the next name.
    if (value.data != text) *text = L' ';
    ++text;
    SkipWhitespace(text);
  }
  return text;
}

}  // namespace SkinUI
