#include "core/fkiss/lexer.h"

#include <string>

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

// Reads the text of a line, one command after another.
class LineLexer {
 public:
  LineLexer(std::string_view text, int line, int column, FkissScript& script, ErrorReport& report)
      : s_(text), line_(line), column_(column), script_(script), report_(report) {}

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
      command.text = std::string(s_.substr(start));
      report_.Error(kMsgFkissMissingParentheses, command.name, line_);
      script_.raw_commands.push_back(std::move(command));
      return false;
    }
    command.name = std::string(TrimRight(s_.substr(start, paren - start)));
    pos_ = paren + 1;
    if (AtEnd()) {
      command.length = static_cast<int>(pos_ - start);
      command.text = std::string(s_.substr(start, pos_ - start));
      report_.Error(kMsgFkissMissingCloseParen, command.name, line_);
      script_.raw_commands.push_back(std::move(command));
      return false;
    }
    int count = 0;
    if (!LexParameters(command, count)) {
      report_.Error(kMsgFkissSyntaxError, line_, s_);
      // The rest of the line is not read.
      PushBroken(command, s_.substr(start));
      return false;
    }
    command.length = static_cast<int>(pos_ - start);
    if (count > 3) {
      report_.Error(kMsgFkissTooManyParams, command.name, line_);
      PushBroken(command, s_.substr(start, pos_ - start));
      return true;
    }
    command.text = std::string(s_.substr(start, pos_ - start));
    script_.raw_commands.push_back(std::move(command));
    return true;
  }

  // Text the lexer reported as unreadable: it runs nothing, but its place
  // among the commands is kept for writing the script out again.
  void PushBroken(const FkissRawCommand& at, std::string_view text) {
    FkissRawCommand broken;
    broken.line = at.line;
    broken.column = at.column;
    broken.length = static_cast<int>(text.size());
    broken.text = std::string(text);
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
        param.text = std::string(s_.substr(begin));
        pos_ = s_.size();
      } else {
        param.text = std::string(s_.substr(begin, close - begin));
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

  std::string_view s_;
  size_t pos_ = 0;
  int line_;
  int column_;
  FkissScript& script_;
  ErrorReport& report_;
};

}  // namespace

void LexLine(std::string_view text, int line, int column, FkissScript& script,
             ErrorReport& report) {
  size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin])) ++begin;
  std::string_view s = TrimRight(text.substr(begin));
  if (s.size() <= 2) return;
  if (!script.script_flag) {
    if (s.substr(0, 12) == "EventHandler") script.script_flag = true;
    return;
  }
  LineLexer(s, line, column + static_cast<int>(begin), script, report).Run();
}

}  // namespace luma
