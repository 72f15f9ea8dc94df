// CMarkup reads the toolkit's skin markup, a small non-validating subset of XML, in place: the
// document is one wide-character buffer into which the parser writes terminators, and every
// element is a row of offsets in a flat table. CMarkupNode walks that table; every text it hands
// out points into the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace SkinUI {

// Encodings of LoadFromMem and LoadFromFile. Any value other than UTF-8 and ANSI reads UTF-16.
enum {
  MarkupEncodingUtf8 = 0,
  MarkupEncodingUtf16 = 1,
  MarkupEncodingAnsi = 2,
};

// Largest skin file LoadFromFile reads (exactly 4 MiB is accepted).
constexpr std::uint32_t kMaxMarkupFileSize = 4194304;

// One element: offsets into the text buffer and links to other rows (0 = none).
struct tagXMLELEMENT {
  std::uint32_t nameOffset;
  std::uint32_t firstChild;
  std::uint32_t nextSibling;
  std::uint32_t parent;
  std::uint32_t dataOffset;
};

class CMarkup;
struct MarkupScanners;

// A value naming one element of a loaded document. It is only meaningful while its document
// lives and is not reloaded. Attribute positions are found on first use and cached in the node.
class CMarkupNode {
 public:
  enum { kMaxAttributes = 64 };

  CMarkupNode() {}  // an invalid node
  CMarkupNode(CMarkup* owner, int row) : m_row(row), m_owner(owner) {}
  // Copies carry only the attribute positions found so far, not the whole cache.
  CMarkupNode(const CMarkupNode& other) { *this = other; }
  CMarkupNode& operator=(const CMarkupNode& other);

  bool IsValid() const { return m_owner != nullptr; }

  CMarkupNode GetParent() const;
  CMarkupNode GetSibling() const;
  CMarkupNode GetChild() const;
  // First child whose name equals `name` exactly.
  CMarkupNode GetChild(const wchar_t* name) const;
  bool HasSiblings() const;
  bool HasChildren() const;

  // Element name; null for an invalid node.
  const wchar_t* GetName() const;
  // Character data before the first child, entities decoded; empty for an empty element.
  const wchar_t* GetValue() const;

  bool HasAttributes() const;
  bool HasAttribute(const wchar_t* name) const;
  // Attributes in document order, at most 64.
  int GetAttributeCount() const;
  // Name / value of the index-th attribute; empty outside the range, null for an invalid node.
  const wchar_t* GetAttributeName(int index) const;
  const wchar_t* GetAttributeValue(int index) const;
  // Value of the first attribute with exactly this name; empty when there is none.
  const wchar_t* GetAttributeValue(const wchar_t* name) const;
  // Copies the value, terminated, into `buffer` of `max` characters. False (and an empty buffer)
  // when the attribute is missing or its value does not fit whole.
  bool GetAttributeValue(int index, wchar_t* buffer, std::size_t max) const;
  bool GetAttributeValue(const wchar_t* name, wchar_t* buffer, std::size_t max) const;

 private:
  struct XMLATTRIBUTE {
    std::uint32_t nameOffset;
    std::uint32_t valueOffset;
  };

  const tagXMLELEMENT* Element() const;
  void MapAttributes() const;
  int FindAttribute(const wchar_t* name) const;

  int m_row = 0;
  mutable int m_attributeCount = 0;
  mutable XMLATTRIBUTE m_attributes[kMaxAttributes];
  CMarkup* m_owner = nullptr;
};

class CMarkup {
 public:
  // With a text the document is loaded at once, as by Load.
  explicit CMarkup(const wchar_t* xml = nullptr);
  ~CMarkup();
  CMarkup(const CMarkup&) = delete;
  CMarkup& operator=(const CMarkup&) = delete;

  // Discards any previous document, copies the terminated text (null reads as empty) and parses.
  [[nodiscard]] bool Load(const wchar_t* xml);
  // Converts `size` bytes (UTF-8 with an optional EF BB BF mark, ANSI, or UTF-16 that must start
  // with a byte-order mark of either order) and parses. The caller's bytes are never modified.
  [[nodiscard]] bool LoadFromMem(const void* bytes, std::uint32_t size, int encoding = MarkupEncodingUtf8);
  // Reads `name` from the toolkit's resource folder or resource zip (CResourceFiles) and continues
  // as LoadFromMem.
  [[nodiscard]] bool LoadFromFile(const wchar_t* name, int encoding = MarkupEncodingUtf8);
  void Release();
  bool IsValid() const { return m_elements != nullptr; }
  // Takes effect on the next parse.
  void SetPreserveWhitespace(bool preserve = true) { m_preserveWhitespace = preserve; }

  // Copy the stored error message / location into `buffer` of `max` characters; the copy is
  // always terminated (cut to max - 1 characters) and the rest of the buffer is filled with NULs.
  void GetLastErrorMessage(wchar_t* buffer, std::size_t max) const;
  void GetLastErrorLocation(wchar_t* buffer, std::size_t max) const;
  const wchar_t* GetLastErrorMessage() const { return m_errorMessage; }
  const wchar_t* GetLastErrorLocation() const { return m_errorLocation; }

  // The document root (row 1), or an invalid node when the document holds no element.
  CMarkupNode GetRoot();

  // Rows in use (the placeholder row 0 included) and rows allocated.
  std::uint32_t GetElementCount() const { return m_elementCount; }
  std::uint32_t GetReservedCount() const { return m_reservedCount; }

 private:
  friend class CMarkupNode;
  struct OpenElement;

  bool TakeText(std::unique_ptr<wchar_t[]> text, std::size_t length);
  bool Parse();
  bool ParseElements(wchar_t* text);
  // Reads the end tag at `text` ("</name>") of the innermost open element and closes it; the
  // error text when the tag does not match, else null.
  static const wchar_t* CloseOpenElement(wchar_t*& text, std::vector<OpenElement>& open);
  // Returns the position after the attributes, or null after recording the error.
  wchar_t* ParseAttributes(wchar_t* text, const MarkupScanners& scan);
  bool ReserveRow(std::uint32_t& row);
  bool Failed(const wchar_t* message, const wchar_t* location);
  void SetError(const wchar_t* message);
  void FreeDocument();

  std::unique_ptr<wchar_t[]> m_text;
  std::unique_ptr<tagXMLELEMENT[]> m_elements;
  std::uint32_t m_elementCount = 0;
  std::uint32_t m_reservedCount = 0;
  wchar_t m_errorMessage[100] = {};
  wchar_t m_errorLocation[50] = {};
  bool m_preserveWhitespace = true;
};

}  // namespace SkinUI
