#include "cli/help_text.h"

namespace luma::cli {
namespace {

constexpr size_t kWidth = 79;
constexpr size_t kTextColumn = 24;

// The words of `text`, keeping a bracketed group together.
std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  int depth = 0;
  for (char c : text) {
    if (c == '[') ++depth;
    if (c == ']' && depth > 0) --depth;
    if ((c == ' ' || c == '\n') && depth == 0) {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

}  // namespace

std::string WrapText(std::string_view text, size_t indent) {
  std::string out;
  std::string line;
  for (const std::string& word : Words(text)) {
    if (!line.empty() && indent + line.size() + 1 + word.size() > kWidth) {
      out += std::string(indent, ' ') + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) out += std::string(indent, ' ') + line + "\n";
  return out;
}

std::string WrapParagraphs(std::string_view text) {
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\n\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string paragraph = WrapText(text.substr(start, end - start), 0);
    if (!paragraph.empty()) out += (out.empty() ? "" : "\n") + paragraph;
    start = end + 2;
  }
  return out;
}

std::string FormatItems(const std::vector<HelpItem>& items) {
  std::string out;
  for (const HelpItem& item : items) {
    std::string head = "  " + item.term;
    std::string body = WrapText(item.text, kTextColumn);
    if (head.size() + 2 <= kTextColumn && !body.empty()) {
      head += std::string(kTextColumn - head.size(), ' ');
      out += head + body.substr(kTextColumn);
    } else {
      out += head + "\n" + body;
    }
  }
  return out;
}

}  // namespace luma::cli
