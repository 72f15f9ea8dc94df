// Parses the same documents with CMarkup and with pugixml (the baseline) and prints the median
// time per parse, the throughput and the median ratio of the two, timed in alternating rounds.
// Built natively on request:
//   cmake -S uitoolkit/core/native -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
//         -DSKINUI_SANITIZE=OFF -DSKINUI_FUZZ=OFF -DSKINUI_BENCH=ON
//   cmake --build build/bench --target markup_bench && build/bench/markup_bench [skin.xml]
// Documents: the setup skin, a generated skin of thousands of elements, and a text-heavy one.
// Two figures per document: loading alone, and loading plus a walk over every element and
// attribute (CMarkup finds attribute positions lazily; pugixml does it while loading).
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <string>
#include <vector>

#include "uitoolkit/core/markup.h"

namespace {

volatile std::size_t g_sink;

std::string ReadFile(const char* path) {
  std::string bytes;
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return bytes;
  char chunk[65536];
  std::size_t read;
  while ((read = std::fread(chunk, 1, sizeof(chunk), file)) > 0) bytes.append(chunk, read);
  std::fclose(file);
  return bytes;
}

// A skin of `rows` list rows, each a layout holding labels, buttons and an edit field.
std::string GeneratedSkin(int rows) {
  std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Window size=\"640,460\" "
                     "caption=\"0,0,640,40\" roundcorner=\"8,8\">\n"
                     "  <Font id=\"1\" name=\"Microsoft YaHei\" size=\"14\"/>\n"
                     "  <VerticalLayout bkcolor=\"#FFFFFFFF\">\n";
  for (int i = 0; i < rows; ++i) {
    const std::string n = std::to_string(i);
    text += "    <HorizontalLayout name=\"row" + n + "\" height=\"32\" padding=\"4,2,4,2\">\n";
    text += "      <Label name=\"title" + n + "\" text=\"Item " + n +
            "\" font=\"1\" textcolor=\"#FF333333\" width=\"120\"/>\n";
    text += "      <Button name=\"open" + n +
            "\" normalimage=\"file='btn.png' source='0,0,80,28' corner='4,4,4,4'\" "
            "hotimage=\"file='btn.png' source='0,28,80,56'\" text=\"Open\" width=\"80\"/>\n";
    text += "      <Edit name=\"value" + n + "\" text=\"&lt;value " + n +
            "&gt;\" bordersize=\"1\" bordercolor=\"#FFCCCCCC\"/>\n";
    text += "      <Control/>\n";
    text += "    </HorizontalLayout>\n";
  }
  text += "  </VerticalLayout>\n</Window>\n";
  return text;
}

// Long runs of character data with entities, in few elements.
std::string TextHeavyDocument(int paragraphs) {
  std::string text = "<Window><VerticalLayout>\n";
  const std::string sentence =
      "The installer copies the product into the chosen folder &amp; registers it for the "
      "current user; progress is shown while &quot;mini_installer.exe&quot; runs. ";
  for (int i = 0; i < paragraphs; ++i) {
    text += "<Text name=\"p" + std::to_string(i) + "\">";
    for (int j = 0; j < 12; ++j) text += sentence;
    text += "</Text>\n";
  }
  text += "</VerticalLayout></Window>\n";
  return text;
}

std::size_t WalkMarkup(SkinUI::CMarkup& markup) {
  std::size_t total = 0;
  SkinUI::CMarkupNode node = markup.GetRoot();
  while (node.IsValid()) {
    total += node.GetName()[0];
    const int count = node.GetAttributeCount();
    for (int i = 0; i < count; ++i) total += node.GetAttributeValue(i)[0];
    if (node.HasChildren()) {
      node = node.GetChild();
      continue;
    }
    while (node.IsValid() && !node.HasSiblings()) node = node.GetParent();
    if (node.IsValid()) node = node.GetSibling();
  }
  return total;
}

std::size_t WalkPugi(const pugi::xml_node& root) {
  std::size_t total = 0;
  for (pugi::xml_node node = root.first_child(); node;) {
    if (node.type() == pugi::node_element) {
      total += static_cast<unsigned char>(node.name()[0]);
      for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
           attribute = attribute.next_attribute()) {
        total += static_cast<unsigned char>(attribute.value()[0]);
      }
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
    if (node == root) break;
  }
  return total;
}

// Mean processor time of one call, in nanoseconds, over calls repeated until at least 50 ms of
// processor time have passed. Processor time rather than wall time, so that other work on a
// shared machine does not count.
template <typename Work>
double MeanNanoseconds(Work& work) {
  int iterations = 0;
  const std::clock_t start = std::clock();
  std::clock_t elapsed;
  do {
    work();
    ++iterations;
    elapsed = std::clock() - start;
  } while (elapsed < CLOCKS_PER_SEC / 20);
  return static_cast<double>(elapsed) * 1e9 / CLOCKS_PER_SEC / iterations;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Times `ours` and `baseline` in alternating rounds, so that a change in the machine's speed
// (a shared machine) falls on both alike. Reports the median time of each and the median of the
// per-round ratios baseline / ours.
struct Comparison {
  double ours;
  double baseline;
  double ratio;
};
template <typename Ours, typename Baseline>
Comparison Compare(Ours ours, Baseline baseline, int rounds = 11) {
  ours();  // warm-up
  baseline();
  std::vector<double> oursTimes, baselineTimes, ratios;
  for (int round = 0; round < rounds; ++round) {
    oursTimes.push_back(MeanNanoseconds(ours));
    baselineTimes.push_back(MeanNanoseconds(baseline));
    ratios.push_back(baselineTimes.back() / oursTimes.back());
  }
  return Comparison{Median(oursTimes), Median(baselineTimes), Median(ratios)};
}

void Measure(const char* label, const std::string& document) {
  const std::uint32_t size = static_cast<std::uint32_t>(document.size());
  {
    SkinUI::CMarkup check;
    pugi::xml_document pugiCheck;
    if (!check.LoadFromMem(document.data(), size, SkinUI::MarkupEncodingUtf8) ||
        !pugiCheck.load_buffer(document.data(), document.size())) {
      std::printf("%-22s does not parse: %ls\n", label, check.GetLastErrorMessage());
      return;
    }
  }
  const Comparison load = Compare(
      [&] {
        SkinUI::CMarkup markup;
        markup.LoadFromMem(document.data(), size, SkinUI::MarkupEncodingUtf8);
        g_sink = markup.GetElementCount();
      },
      [&] {
        pugi::xml_document pugiDocument;
        pugiDocument.load_buffer(document.data(), document.size());
        g_sink = pugiDocument.first_child() ? 1 : 0;
      });
  const Comparison walk = Compare(
      [&] {
        SkinUI::CMarkup markup;
        markup.LoadFromMem(document.data(), size, SkinUI::MarkupEncodingUtf8);
        g_sink = WalkMarkup(markup);
      },
      [&] {
        pugi::xml_document pugiDocument;
        pugiDocument.load_buffer(document.data(), document.size());
        g_sink = WalkPugi(pugiDocument);
      });
  auto megabytesPerSecond = [&](double nanoseconds) { return document.size() / nanoseconds * 1e3; };
  std::printf("%-16s %7zu B | load: CMarkup %7.1f us %6.1f MB/s, pugixml %7.1f us %6.1f MB/s, "
              "ratio %.2f | load+walk: CMarkup %7.1f us, pugixml %7.1f us, ratio %.2f\n",
              label, document.size(), load.ours / 1e3, megabytesPerSecond(load.ours),
              load.baseline / 1e3, megabytesPerSecond(load.baseline), load.ratio, walk.ours / 1e3,
              walk.baseline / 1e3, walk.ratio);
}

}  // namespace

int main(int argc, char** argv) {
  const char* skinPath = argc > 1 ? argv[1] : SKINUI_SETUP_SKIN;
  const std::string skin = ReadFile(skinPath);
  if (skin.empty()) {
    std::fprintf(stderr, "cannot read %s\n", skinPath);
    return 1;
  }
  std::printf("processor time, medians of 11 alternating rounds; ratio = median of the rounds' "
              "pugixml time / CMarkup time (above 1: CMarkup faster)\n");
  Measure("setup skin", skin);
  Measure("generated skin", GeneratedSkin(2000));
  Measure("text-heavy", TextHeavyDocument(400));
  return 0;
}
