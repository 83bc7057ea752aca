#include "core/fkiss/lexer.h"

#include <string>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/error_report.h"

namespace luma {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool IsWordChar(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '_'; }

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A line without its bytes of 128 and above, which the lexer skips outside
// strings, and where each remaining byte stands in the line as written.
// Shift-JIS never uses a double quote, a semicolon, a parenthesis or a comma
// as a second byte, so the skipped bytes never change where a command or a
// string begins or ends.
struct AsciiLine {
  std::string ascii;
  std::vector<size_t> at;  // offset in the written line of each byte of `ascii`

  explicit AsciiLine(std::string_view written) {
    for (size_t i = 0; i < written.size(); ++i) {
      if (static_cast<unsigned char>(written[i]) >= 128) continue;
      ascii += written[i];
      at.push_back(i);
    }
    at.push_back(written.size());
  }
};

// Reads the text of a line, one command after another. Commands, words and
// numbers come from the ASCII text; strings, the commands' own text and the
// line a syntax error quotes keep the bytes as written.
class LineLexer {
 public:
  LineLexer(std::string_view written, const AsciiLine& line_text, int line, int column,
            FkissScript& script, ErrorReport& report)
      : written_(written),
        s_(TrimRight(line_text.ascii)),
        at_(line_text.at),
        line_(line),
        column_(column),
        script_(script),
        report_(report) {}

  void Run() {
    while (true) {
      SkipBlanks();
      if (AtEnd() || s_[pos_] == ';') return;
      if (!LexCommand()) return;
    }
  }

 private:
  bool AtEnd() const { return pos_ >= s_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && IsBlank(s_[pos_])) ++pos_;
  }
  void SkipWord() {
    while (!AtEnd() && IsWordChar(s_[pos_])) ++pos_;
  }
  void SkipDigits() {
    while (!AtEnd() && IsAsciiDigit(s_[pos_])) ++pos_;
  }

  // One command; false when the rest of the line is not lexed.
  bool LexCommand() {
    const size_t start = pos_;
    FkissRawCommand command;
    command.line = line_;
    command.column = column_ + static_cast<int>(start);
    const size_t paren = s_.find('(', pos_);
    if (paren == std::string_view::npos) {
      command.name = std::string(TrimRight(s_.substr(start)));
      command.length = static_cast<int>(s_.size() - start);
      command.text = Written(start, s_.size());
      report_.Error(kMsgFkissMissingParentheses, command.name, line_);
      script_.raw_commands.push_back(std::move(command));
      return false;
    }
    // Taken as written: "map (" is not the name "map".
    command.name = std::string(s_.substr(start, paren - start));
    pos_ = paren + 1;
    if (AtEnd()) {
      command.length = static_cast<int>(pos_ - start);
      command.text = Written(start, pos_);
      report_.Error(kMsgFkissMissingCloseParen, command.name, line_);
      script_.raw_commands.push_back(std::move(command));
      return false;
    }
    int count = 0;
    if (!LexParameters(command, count)) {
      report_.Error(kMsgFkissSyntaxError, line_, written_);
      // The rest of the line is not read.
      PushBroken(command, start, s_.size());
      return false;
    }
    command.length = static_cast<int>(pos_ - start);
    if (count > 3) {
      report_.Error(kMsgFkissTooManyParams, command.name, line_);
      PushBroken(command, start, pos_);
      return true;
    }
    command.text = Written(start, pos_);
    script_.raw_commands.push_back(std::move(command));
    return true;
  }

  // Text the lexer reported as unreadable: it runs nothing, but its place
  // among the commands is kept for writing the script out again.
  void PushBroken(const FkissRawCommand& at, size_t begin, size_t end) {
    FkissRawCommand broken;
    broken.line = at.line;
    broken.column = at.column;
    broken.length = static_cast<int>(end - begin);
    broken.text = Written(begin, end);
    broken.broken = true;
    script_.raw_commands.push_back(std::move(broken));
  }

  // The parameter list after "(", up to and including ")".
  bool LexParameters(FkissRawCommand& command, int& count) {
    SkipBlanks();
    if (!AtEnd() && s_[pos_] == ')') {
      ++pos_;
      return true;
    }
    while (true) {
      SkipBlanks();
      FkissParam param;
      if (!LexParameter(param)) return false;
      if (count < 3) command.params[count] = std::move(param);
      ++count;
      SkipBlanks();
      if (AtEnd()) return false;
      const char c = s_[pos_++];
      if (c == ')') return true;
      if (c != ',') return false;
    }
  }

  bool LexParameter(FkissParam& param) {
    if (AtEnd()) return false;
    const char c = s_[pos_];
    const char next = pos_ + 1 < s_.size() ? s_[pos_ + 1] : '\0';
    if (c == '#') {
      if (!IsAsciiDigit(next)) return false;
      const size_t begin = ++pos_;
      SkipDigits();
      param.lex_kind = TK_OBJECT;
      param.text = std::string(s_.substr(begin, pos_ - begin));
      param.value = ParseInt(param.text);
      return true;
    }
    if (c == '!') {
      if (!IsAsciiAlpha(next)) return false;
      const size_t begin = ++pos_;
      SkipWord();
      param.lex_kind = TK_GROUP;
      param.text = std::string(s_.substr(begin, pos_ - begin));
      return true;
    }
    if (c == '"') {
      const size_t begin = ++pos_;
      const size_t close = s_.find('"', begin);
      param.lex_kind = TK_STRING;
      if (close == std::string_view::npos) {
        param.text = std::string(TrimRight(written_.substr(at_[begin - 1] + 1)));
        pos_ = s_.size();
      } else {
        param.text =
            std::string(written_.substr(at_[begin - 1] + 1, at_[close] - at_[begin - 1] - 1));
        pos_ = close + 1;
      }
      return true;
    }
    if (IsAsciiDigit(c) || (c == '-' && IsAsciiDigit(next))) {
      const size_t begin = pos_++;
      SkipDigits();
      param.lex_kind = TK_NUMBER;
      param.text = std::string(s_.substr(begin, pos_ - begin));
      param.value = ParseInt(param.text);
      return true;
    }
    if (IsAsciiAlpha(c)) {
      const size_t begin = pos_;
      SkipWord();
      param.lex_kind = TK_WORD;
      param.text = std::string(s_.substr(begin, pos_ - begin));
      return true;
    }
    return false;
  }

  // The written text of ASCII offsets `begin` to `end`, with whatever the
  // line holds between them, the bytes above 127 right before it (a
  // character whose second byte starts a command word belongs to it) and,
  // when `end` is the end, those after it.
  std::string Written(size_t begin, size_t end) const {
    if (begin >= end) return {};
    size_t start = at_[begin];
    while (start > 0 && static_cast<unsigned char>(written_[start - 1]) >= 128) --start;
    const size_t stop = end == s_.size() ? written_.size() : at_[end - 1] + 1;
    return std::string(written_.substr(start, stop - start));
  }

  std::string_view written_;
  std::string_view s_;
  const std::vector<size_t>& at_;
  size_t pos_ = 0;
  int line_;
  int column_;
  FkissScript& script_;
  ErrorReport& report_;
};

}  // namespace

void LexLine(std::string_view text, int line, int column, FkissScript& script,
             ErrorReport& report) {
  const AsciiLine full(text);
  size_t begin = 0;
  while (begin < full.ascii.size() && IsBlank(full.ascii[begin])) ++begin;
  const std::string_view s = TrimRight(std::string_view(full.ascii).substr(begin));
  if (s.size() <= 2) return;
  if (!script.script_flag) {
    if (s.substr(0, 12) == "EventHandler") script.script_flag = true;
    return;
  }
  const std::string_view written = TrimRight(text.substr(full.at[begin]));
  const AsciiLine line_text(written);
  LineLexer(written, line_text, line, column + static_cast<int>(begin), script, report).Run();
}

}  // namespace luma
