// CRenderEngine::DrawHtmlText: text with inline tags, laid out in lines and drawn (or measured).
//
// Layout rules: runs of text, images and gaps are placed left to right. Lines break at <n>, at
// the start and end of a <p> paragraph and at line feeds in the text, except with the
// single-line style; with the word-break style a line also breaks before a word that does not
// fit, and a word wider than the whole line is broken between characters. A line is as high as
// its highest run, or as set by <y>; runs sit at the bottom of their line unless <v> says top or
// center. A paragraph's <p N> adds N pixels below each of its lines. The horizontal and vertical
// alignment bits of the style place the lines inside the rectangle.
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/core/ui_color.h"
#include "uitoolkit/core/ui_html_text_tokens.h"
#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/ui_multi_language.h"
#include "uitoolkit/core/ui_nine_slice.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

enum class VerticalAlign { Bottom, Center, Top };

// The look in force at a point of the text; every opening tag pushes a changed copy.
struct TextState {
  wchar_t tag = 0;  // the tag that pushed this state (0 for the base)
  HFONT font = nullptr;
  DWORD color = 0;
  bool selected = false;
  int link = -1;  // index into the link list, -1 outside links
  VerticalAlign verticalAlign = VerticalAlign::Bottom;
  LONG lineHeight = 0;   // 0: as high as the highest run
  LONG lineSpacing = 0;  // extra pixels below each line of a paragraph
};

enum class RunKind { Text, Image, Gap };

struct Run {
  RunKind kind = RunKind::Text;
  std::wstring text;
  TextState state;
  TImageInfo* image = nullptr;
  TImageDescription description;  // images only
  RECT source = {0, 0, 0, 0};      // images only
  LONG x = 0;
  LONG width = 0;
  LONG height = 0;
};

struct Line {
  std::vector<Run> runs;
  LONG width = 0;
  LONG height = 0;
  LONG spacing = 0;  // extra pixels below the line
  LONG top = 0;      // relative to the text's top
};

struct Link {
  CUiString text;        // the <a> parameter, or the enclosed text when there is none
  bool hasParameter = false;
};

const wchar_t* LookUpMultiLanguage(int id, void* context) {
  return static_cast<IRenderHost*>(context)->GetMultiLanguageString(id);
}

bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring Trimmed(const wchar_t* text, int length) {
  int start = 0;
  while (start < length && IsSpace(text[start])) ++start;
  while (length > start && IsSpace(text[length - 1])) --length;
  return std::wstring(text + start, static_cast<size_t>(length - start));
}

std::vector<std::wstring> SplitWords(const std::wstring& text) {
  std::vector<std::wstring> words;
  size_t position = 0;
  while (position < text.size()) {
    while (position < text.size() && IsSpace(text[position])) ++position;
    const size_t start = position;
    while (position < text.size() && !IsSpace(text[position])) ++position;
    if (position > start) words.push_back(text.substr(start, position - start));
  }
  return words;
}

class HtmlTextLayout {
 public:
  HtmlTextLayout(HDC dc, IRenderHost* manager, const RECT& rc, UINT style)
      : m_dc(dc), m_manager(manager) {
    m_available = rc.right - rc.left;
    m_multiLine = (style & DT_SINGLELINE) == 0;
    m_wordBreak = m_multiLine && (style & DT_WORDBREAK) != 0;
    m_lines.emplace_back();
  }

  void Build(const wchar_t* text, const TextState& base) {
    m_states.push_back(base);
    CHtmlTextTokenizer tokenizer(text);
    THtmlToken token;
    while (tokenizer.Next(token)) {
      switch (token.kind) {
        case HtmlTokenKind::Text:
          AddText(std::wstring(token.text, static_cast<size_t>(token.length)));
          break;
        case HtmlTokenKind::OpenTag:
          OpenTag(token.tag, Trimmed(token.text, token.length));
          break;
        case HtmlTokenKind::CloseTag:
          CloseTag(token.tag);
          break;
      }
    }
    FinishLine();
  }

  std::vector<Line>& lines() { return m_lines; }
  std::vector<Link>& links() { return m_links; }

 private:
  const TextState& State() const { return m_states.back(); }

  const TEXTMETRICW& Metrics(HFONT font) {
    for (const auto& entry : m_metrics) {
      if (entry.first == font) return entry.second;
    }
    TEXTMETRICW metrics = {};
    {
      vesk::ScopedSelectObject select(m_dc, font);
      ::GetTextMetricsW(m_dc, &metrics);
    }
    m_metrics.emplace_back(font, metrics);
    return m_metrics.back().second;
  }

  LONG TextWidth(HFONT font, const wchar_t* text, size_t length) {
    SIZE size = {0, 0};
    vesk::ScopedSelectObject select(m_dc, font);
    ::GetTextExtentPoint32W(m_dc, text, static_cast<int>(length), &size);
    return size.cx;
  }

  // How many leading characters of `text` fit into `width` (at least one).
  size_t FittingCharacters(HFONT font, const std::wstring& text, LONG width) {
    int fit = 0;
    SIZE size = {0, 0};
    {
      vesk::ScopedSelectObject select(m_dc, font);
      ::GetTextExtentExPointW(m_dc, text.c_str(), static_cast<int>(text.size()),
                              width > 0 ? width : 0, &fit, nullptr, &size);
    }
    if (fit < 1) fit = 1;
    // Keep a surrogate pair together.
    if (static_cast<size_t>(fit) < text.size() && text[static_cast<size_t>(fit) - 1] >= 0xD800 &&
        text[static_cast<size_t>(fit) - 1] <= 0xDBFF) {
      fit = fit > 1 ? fit - 1 : fit + 1;
    }
    return static_cast<size_t>(fit);
  }

  Line& Current() { return m_lines.back(); }

  void Place(Run run) {
    run.x = m_x;
    m_x += run.width;
    if (run.state.link >= 0 && !m_links[static_cast<size_t>(run.state.link)].hasParameter) {
      m_links[static_cast<size_t>(run.state.link)].text += run.text.c_str();
    }
    Current().runs.push_back(std::move(run));
  }

  void FinishLine() {
    Line& line = Current();
    line.width = m_x;
    LONG height = 0;
    LONG fixedHeight = 0;
    for (const Run& run : line.runs) {
      if (run.height > height) height = run.height;
      if (run.state.lineHeight > fixedHeight) fixedHeight = run.state.lineHeight;
    }
    if (line.runs.empty()) {
      height = Metrics(State().font).tmHeight;
      fixedHeight = State().lineHeight;
    }
    line.height = fixedHeight > 0 ? fixedHeight : height;
    line.spacing = State().lineSpacing;
  }

  void NewLine() {
    FinishLine();
    m_lines.emplace_back();
    m_x = 0;
  }

  Run TextRun(const std::wstring& text, LONG width) {
    Run run;
    run.kind = RunKind::Text;
    run.text = text;
    run.state = State();
    run.width = width;
    run.height = Metrics(State().font).tmHeight;
    return run;
  }

  void AddText(const std::wstring& text) {
    std::wstring segment;
    for (wchar_t ch : text) {
      if (ch == L'\r') continue;
      if (ch == L'\n') {
        AddSegment(segment);
        segment.clear();
        if (m_multiLine) NewLine();
        continue;
      }
      segment += ch;
    }
    AddSegment(segment);
  }

  void AddSegment(const std::wstring& segment) {
    if (segment.empty()) return;
    const HFONT font = State().font;
    if (!m_wordBreak) {
      Place(TextRun(segment, TextWidth(font, segment.c_str(), segment.size())));
      return;
    }
    // Words with the spaces between them; a line never starts with the spaces before a word.
    size_t position = 0;
    while (position < segment.size()) {
      size_t spaces = position;
      while (spaces < segment.size() && IsSpace(segment[spaces])) ++spaces;
      size_t end = spaces;
      while (end < segment.size() && !IsSpace(segment[end])) ++end;
      std::wstring leading = segment.substr(position, spaces - position);
      std::wstring word = segment.substr(spaces, end - spaces);
      position = end;
      const LONG leadingWidth = TextWidth(font, leading.c_str(), leading.size());
      LONG wordWidth = TextWidth(font, word.c_str(), word.size());
      if (m_x > 0 && m_x + leadingWidth + wordWidth > m_available) {
        NewLine();
      } else if (!leading.empty()) {
        if (word.empty() || m_x > 0) Place(TextRun(leading, leadingWidth));
      }
      // A word longer than a whole line is broken between characters.
      while (!word.empty() && m_x == 0 && wordWidth > m_available) {
        const size_t fit = FittingCharacters(font, word, m_available);
        if (fit >= word.size()) break;
        const std::wstring part = word.substr(0, fit);
        Place(TextRun(part, TextWidth(font, part.c_str(), part.size())));
        NewLine();
        word.erase(0, fit);
        wordWidth = TextWidth(font, word.c_str(), word.size());
      }
      if (!word.empty()) Place(TextRun(word, wordWidth));
    }
  }

  void AddImage(const std::wstring& parameter) {
    Run run;
    run.kind = RunKind::Image;
    run.state = State();
    if (!ParseImageDescription(parameter.c_str(), run.description)) return;
    const TImageDescription& description = run.description;
    run.image = m_manager->GetImageEx(
        description.imageName,
        description.resourceType.IsEmpty() ? nullptr : description.resourceType.GetData(),
        description.mask, description.useHSL);
    if (run.image == nullptr) return;
    run.source = ResolveImageSource(description.source, run.image->width, run.image->height);
    run.width = run.source.right - run.source.left;
    run.height = run.source.bottom - run.source.top;
    if (run.width <= 0 || run.height <= 0) return;
    if (m_wordBreak && m_x > 0 && m_x + run.width > m_available) NewLine();
    Place(std::move(run));
  }

  HFONT FontVariant(HFONT font, bool bold, bool underline) {
    LOGFONTW logFont = {};
    if (font == nullptr || ::GetObjectW(font, sizeof(logFont), &logFont) == 0) return font;
    const int size = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
    HFONT variant = m_manager->FindOrAddFont(logFont.lfFaceName, size,
                                             bold || logFont.lfWeight >= FW_BOLD,
                                             underline || logFont.lfUnderline != 0,
                                             logFont.lfItalic != 0);
    return variant != nullptr ? variant : font;
  }

  // "<f 2>" is a font index; "<f Microsoft YaHei 14 bold>" a face name (all words before the
  // size), a size in pixels and style words.
  HFONT FontFromParameter(const std::wstring& parameter) {
    if (parameter.empty()) return State().font;
    if (parameter[0] >= L'0' && parameter[0] <= L'9') {
      return m_manager->GetFont(static_cast<int>(ParseDecimal(parameter.c_str())));
    }
    LOGFONTW current = {};
    int size = 0;
    if (State().font != nullptr && ::GetObjectW(State().font, sizeof(current), &current) != 0) {
      size = current.lfHeight < 0 ? -current.lfHeight : current.lfHeight;
    }
    std::wstring face;
    bool bold = false, underline = false, italic = false, sizeSeen = false;
    for (const std::wstring& word : SplitWords(parameter)) {
      if (!sizeSeen && word[0] >= L'0' && word[0] <= L'9') {
        size = static_cast<int>(ParseDecimal(word.c_str()));
        sizeSeen = true;
      } else if (!sizeSeen) {
        if (!face.empty()) face += L' ';
        face += word;
      } else if (word == L"bold") {
        bold = true;
      } else if (word == L"underline") {
        underline = true;
      } else if (word == L"italic") {
        italic = true;
      }
    }
    if (face.empty()) return State().font;
    HFONT font = m_manager->FindOrAddFont(face.c_str(), size, bold, underline, italic);
    return font != nullptr ? font : State().font;
  }

  void OpenTag(wchar_t tag, const std::wstring& parameter) {
    switch (tag) {
      case L'n':
        if (m_multiLine) NewLine();
        return;
      case L'x': {
        Run gap;
        gap.kind = RunKind::Gap;
        gap.state = State();
        gap.width = ParseDecimal(parameter.c_str());
        if (gap.width > 0) Place(std::move(gap));
        return;
      }
      case L'i':
        AddImage(parameter);
        return;
      default:
        break;
    }
    TextState state = State();
    state.tag = tag;
    switch (tag) {
      case L'a': {
        Link link;
        link.hasParameter = !parameter.empty();
        link.text = parameter.c_str();
        m_links.push_back(link);
        state.link = static_cast<int>(m_links.size()) - 1;
        state.color = m_manager->GetDefaultLinkFontColor();
        break;
      }
      case L'b':
        state.font = FontVariant(state.font, true, false);
        break;
      case L'u':
        state.font = FontVariant(state.font, false, true);
        break;
      case L'c':
        state.color = ParseColor(parameter.c_str());
        break;
      case L'f':
        state.font = FontFromParameter(parameter);
        break;
      case L'p':
        if (m_multiLine && !Current().runs.empty()) NewLine();
        state.lineSpacing = ParseDecimal(parameter.c_str());
        if (state.lineSpacing < 0) state.lineSpacing = 0;
        break;
      case L's':
        state.selected = true;
        break;
      case L'v':
        state.verticalAlign = parameter == L"center"
                                  ? VerticalAlign::Center
                                  : (parameter == L"top" ? VerticalAlign::Top : VerticalAlign::Bottom);
        break;
      case L'y':
        state.lineHeight = ParseDecimal(parameter.c_str());
        if (state.lineHeight < 0) state.lineHeight = 0;
        break;
      default:  // r: the tokenizer already made its content text
        break;
    }
    m_states.push_back(state);
  }

  void CloseTag(wchar_t tag) {
    // The most recent state pushed by this tag ends, with every state opened inside it.
    for (size_t i = m_states.size(); i-- > 1;) {
      if (m_states[i].tag != tag) continue;
      if (tag == L'p' && m_multiLine && !Current().runs.empty()) NewLine();
      m_states.resize(i);
      return;
    }
  }

  HDC m_dc;
  IRenderHost* m_manager;
  LONG m_available = 0;
  bool m_multiLine = true;
  bool m_wordBreak = false;
  LONG m_x = 0;
  std::vector<TextState> m_states;
  std::vector<Line> m_lines;
  std::vector<Link> m_links;
  std::vector<std::pair<HFONT, TEXTMETRICW>> m_metrics;
};

LONG RunTop(const Line& line, const Run& run) {
  switch (run.state.verticalAlign) {
    case VerticalAlign::Top:
      return line.top;
    case VerticalAlign::Center:
      return line.top + (line.height - run.height) / 2;
    case VerticalAlign::Bottom:
    default:
      return line.top + line.height - run.height;
  }
}

// Where each line starts: at the left, centred or at the right of `rc` as `style` says.
std::vector<LONG> LineStarts(const std::vector<Line>& lines, const RECT& rc, UINT style) {
  std::vector<LONG> lineLeft(lines.size(), rc.left);
  for (size_t i = 0; i < lines.size(); ++i) {
    if ((style & DT_CENTER) != 0) {
      lineLeft[i] = rc.left + (rc.right - rc.left - lines[i].width) / 2;
    } else if ((style & DT_RIGHT) != 0) {
      lineLeft[i] = rc.right - lines[i].width;
    }
  }
  return lineLeft;
}

// Draws the laid-out lines (line i starting at lineLeft[i], the block at `top`), clipped to
// `rc`; text of a hovered link in the hover colour.
void DrawLines(HDC hDC, IRenderHost* manager, const RECT& rc, const std::vector<Line>& lines,
               const std::vector<LONG>& lineLeft, LONG top, const std::vector<bool>& hovered,
               HFONT baseFont) {
  CRenderClip clip;
  CRenderClip::GenerateClip(hDC, rc, clip);
  const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
  const COLORREF oldColor = ::GetTextColor(hDC);
  // Restores the context's font when drawing ends; each run selects its own font meanwhile.
  vesk::ScopedSelectObject restoreFont(hDC, baseFont);
  const DWORD selectedColor = manager->GetDefaultSelectedBkColor() | 0xFF000000u;
  const DWORD hoverColor = manager->GetDefaultLinkHoverFontColor();
  for (size_t i = 0; i < lines.size(); ++i) {
    const Line& line = lines[i];
    for (const Run& run : line.runs) {
      const LONG x = lineLeft[i] + run.x;
      const LONG y = top + RunTop(line, run);
      const RECT box = {x, y, x + run.width, y + run.height};
      if (run.kind == RunKind::Image) {
        RECT paint;
        if (::IntersectRect(&paint, &box, &rc)) {
          CRenderEngine::DrawImage(hDC, run.image->bitmap, box, paint, run.source,
                                   run.description.corner, run.image->alpha,
                                   run.description.fade, run.description.hole,
                                   run.description.xTiled, run.description.yTiled);
        }
        continue;
      }
      if (run.kind != RunKind::Text) continue;
      if (run.state.selected) CRenderEngine::DrawColor(hDC, box, selectedColor);
      DWORD textColor = run.state.color;
      if (run.state.link >= 0 && hovered[static_cast<size_t>(run.state.link)]) {
        textColor = hoverColor;
      }
      ::SetTextColor(hDC, ToPlatformColor(textColor));
      ::SelectObject(hDC, run.state.font);
      ::TextOutW(hDC, x, y, run.text.c_str(), static_cast<int>(run.text.size()));
    }
  }
  ::SetTextColor(hDC, oldColor);
  ::SetBkMode(hDC, oldMode);
}

}  // namespace

void CRenderEngine::DrawHtmlText(HDC hDC, IRenderHost* manager, RECT& rc, const wchar_t* text,
                                 DWORD color, RECT* linkRects, CUiString* linkTexts,
                                 int& linkCount, int font, UINT style) {
  if (hDC == nullptr || manager == nullptr || text == nullptr || *text == L'\0') {
    // Measuring nothing gives an empty extent, not the rectangle offered.
    if ((style & DT_CALCRECT) != 0) {
      rc.right = rc.left;
      rc.bottom = rc.top;
    } else {
      linkCount = 0;
    }
    return;
  }
  const CUiString replaced = ReplaceMultiLanguageTokens(text, &LookUpMultiLanguage, manager);
  TextState base;
  base.font = manager->GetFont(font);
  base.color = color;
  HtmlTextLayout layout(hDC, manager, rc, style);
  layout.Build(replaced.GetData(), base);
  std::vector<Line>& lines = layout.lines();

  // Stack the lines and measure the block.
  LONG totalHeight = 0;
  LONG totalWidth = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    lines[i].top = totalHeight;
    totalHeight += lines[i].height;
    if (i + 1 < lines.size()) totalHeight += lines[i].spacing;
    if (lines[i].width > totalWidth) totalWidth = lines[i].width;
  }
  if ((style & DT_CALCRECT) != 0) {
    rc.right = rc.left + totalWidth;
    rc.bottom = rc.top + totalHeight;
    return;
  }

  // Place the block inside the rectangle.
  LONG top = rc.top;
  if ((style & DT_VCENTER) != 0) {
    top = rc.top + (rc.bottom - rc.top - totalHeight) / 2;
  } else if ((style & DT_BOTTOM) != 0) {
    top = rc.bottom - totalHeight;
  }
  const std::vector<LONG> lineLeft = LineStarts(lines, rc, style);

  // Link rectangles: one per line segment of a link.
  const POINT mouse = manager->GetMousePos();
  std::vector<bool> hovered(layout.links().size(), false);
  const int capacity = linkCount;
  int recorded = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::vector<Run>& runs = lines[i].runs;
    for (size_t start = 0; start < runs.size();) {
      const int link = runs[start].state.link;
      size_t end = start + 1;
      while (end < runs.size() && runs[end].state.link == link) ++end;
      if (link >= 0) {
        RECT segment = {lineLeft[i] + runs[start].x, top + lines[i].top,
                        lineLeft[i] + runs[end - 1].x + runs[end - 1].width,
                        top + lines[i].top + lines[i].height};
        if (::PtInRect(&segment, mouse)) hovered[static_cast<size_t>(link)] = true;
        if (recorded < capacity && linkRects != nullptr) {
          linkRects[recorded] = segment;
          if (linkTexts != nullptr) linkTexts[recorded] = layout.links()[static_cast<size_t>(link)].text;
          ++recorded;
        }
      }
      start = end;
    }
  }
  linkCount = recorded;

  // Draw, clipped to the rectangle.
  DrawLines(hDC, manager, rc, lines, lineLeft, top, hovered, base.font);
}

}  // namespace SkinUI
