#include "core/model/cnf_parser.h"

#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/text.h"
#include "core/model/doll_limits.h"
#include "core/model/messages.h"

namespace luma {
namespace {

// The characters removed from the start of data and the end of comments.
constexpr std::string_view kTrimChars = " \r\n\f\t";

bool StartsWithDigit(std::string_view s) { return !s.empty() && IsAsciiDigit(s[0]); }

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !IsAsciiSpace(text[i])) ++i;
    if (i > start) tokens.push_back(text.substr(start, i - start));
  }
  return tokens;
}

// A set list: a ":" token (a number when a digit follows the colon) and the
// following tokens that start with a digit.
struct SetList {
  std::vector<int> numbers;
  std::string text;
};

SetList ReadSetList(const std::vector<std::string_view>& tokens, size_t& next) {
  SetList list;
  const std::string_view colon = tokens[next++];
  list.text = std::string(colon);
  if (colon.size() > 1 && IsAsciiDigit(colon[1])) list.numbers.push_back(ParseInt(colon.substr(1)));
  while (next < tokens.size() && StartsWithDigit(tokens[next])) {
    list.numbers.push_back(ParseInt(tokens[next]));
    list.text += ' ';
    list.text += tokens[next];
    ++next;
  }
  return list;
}

// The sets a set list names. A number above 9 is reported once and the list
// falls back to taking every digit of its text as a set of its own.
std::vector<int> SetsOf(const SetList& list, int line_number, ErrorReport& report) {
  for (const int n : list.numbers) {
    if (n >= 0 && n < kSetCount) continue;
    std::vector<int> digits;
    std::string named;
    for (const char c : list.text) {
      if (!IsAsciiDigit(c)) continue;
      if (!named.empty()) named += ", ";
      named += c;
      digits.push_back(c - '0');
    }
    report.Error(kMsgSetListOutOfRange, n, line_number, named);
    return digits;
  }
  return list.numbers;
}

// A line's comment twice: `text` keeps the bytes of 128 and above (the
// doll's own words, Japanese or accented, in free comments and FKiSS
// strings); `ascii` drops them, and is what decides the line's kind, its
// extensions, groups and hints, so that such text never changes what a doll
// declares. Control characters are deleted from both.
struct LineComment {
  std::string text;
  std::string ascii;

  // The offset in `text` of the byte at offset `at` of `ascii`.
  size_t TextOffset(size_t at) const {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (static_cast<unsigned char>(text[i]) >= 128) continue;
      if (seen++ == at) return i;
    }
    return text.size();
  }
};

LineComment ReadComment(std::string_view raw) {
  LineComment comment;
  for (const char c : raw) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32) continue;
    comment.text += c;
    if (byte < 128) comment.ascii += c;
  }
  for (std::string* s : {&comment.text, &comment.ascii}) {
    const size_t end = s->find_last_not_of(kTrimChars);
    s->resize(end == std::string::npos ? 0 : end + 1);
  }
  return comment;
}

class CnfParser {
 public:
  CnfParser(DollModel& doll, Host& host, const CnfParseOptions& options)
      : doll_(doll), host_(host), options_(options), lines_(doll.cnf_lines) {}

  Status Run();

 private:
  void ParseLine();
  void HandleComment(std::string_view data, const LineComment& comment);
  void ParseCelLine(std::string_view data, const LineComment& comment);
  void ParseCelComment(CelInstance& instance, const LineComment& comment);
  void ParseGroupExtension(const std::vector<std::string_view>& tokens, size_t next);
  // Reads the set line and the lines that continue it.
  void ParseSetLine(std::string_view data);
  // Reads object positions for `set`, the first for object number `object`
  // (advanced past every token read). A bad token ends the text.
  void ParsePositions(std::string_view text, int line_number, int set, int& object);
  void ParsePaletteLine(std::string_view data);
  void ParsePlayfieldLine(std::string_view data);
  void ParseBorderLine(std::string_view data);
  void CheckHint(std::string_view comment);
  // A %x or %y number (digits only), held to what a cel file can say.
  int ReadOffset(std::string_view digits);
  void ClearCurrent() {
    current_instance_ = nullptr;
    current_group_ = nullptr;
  }
  int LineNumber() const { return static_cast<int>(index_) + 1; }

  DollModel& doll_;
  Host& host_;
  const CnfParseOptions& options_;
  const CnfLines& lines_;
  size_t index_ = 0;         // the line being parsed
  size_t resume_after_ = 0;  // the last line a set line consumed
  int set_counter_ = 0;
  CelInstance* current_instance_ = nullptr;
  CelSet* current_group_ = nullptr;
  int semicolon_column_ = 0;
};

Status CnfParser::Run() {
  const size_t count = lines_.size();
  const size_t step = count / 100 + 1;
  host_.ProgressRange(static_cast<int>(count));
  host_.ProgressStatus("Parsing CNF...");
  host_.ProgressPosition(0);
  for (index_ = 0; index_ < count; ++index_) {
    if (index_ % step == 0) host_.ProgressPosition(static_cast<int>(index_));
    resume_after_ = index_;
    try {
      ParseLine();
    } catch (const std::bad_alloc&) {
      return Status::Error(kOutOfMemoryText);
    }
    index_ = resume_after_;
  }
  host_.ProgressPosition(static_cast<int>(count));
  return Status::Ok();
}

void CnfParser::ParseLine() {
  const std::string_view line = lines_[index_];
  if (line.empty()) return;

  const size_t semicolon = line.find(';');
  std::string_view data = line.substr(0, semicolon);
  const size_t data_start = data.find_first_not_of(kTrimChars);
  data = data_start == std::string_view::npos ? std::string_view() : data.substr(data_start);
  LineComment comment;
  if (semicolon != std::string_view::npos) {
    comment = ReadComment(line.substr(semicolon + 1));
    if (!data.empty()) semicolon_column_ = static_cast<int>(semicolon);
  }

  if (!data.empty()) {
    ClearCurrent();
    switch (data[0]) {
      case '#':
        ParseCelLine(data, comment);
        return;  // the cel line consumes its comment
      case '$':
        ParseSetLine(data);
        break;
      case '%':
        ParsePaletteLine(data);
        break;
      case '(':
        ParsePlayfieldLine(data);
        break;
      case '[':
        ParseBorderLine(data);
        break;
      default:
        break;
    }
  }
  HandleComment(data, comment);
}

void CnfParser::HandleComment(std::string_view data, const LineComment& line_comment) {
  const std::string_view comment = line_comment.ascii;
  if (comment.empty()) {
    if (data.empty()) ClearCurrent();
    return;
  }
  if (comment.size() == 1) {
    ClearCurrent();
    return;
  }
  if (comment[0] == '!' && current_instance_) {
    ParseGroupExtension(Tokens(comment), 0);
    current_instance_->extra_lines = static_cast<int>(index_) - current_instance_->line;
    return;
  }
  if (comment[0] == '@' && comment.size() > 2) {
    // The FKiSS lexer reads strings with their bytes and skips them elsewhere.
    const std::string_view text = line_comment.text;
    doll_.fkiss_lines.push_back({std::string(text.substr(line_comment.TextOffset(0) + 1)),
                                 LineNumber(), semicolon_column_});
  } else {
    CheckHint(comment);
  }
  ClearCurrent();
}

void CnfParser::ParseCelLine(std::string_view data, const LineComment& comment) {
  // "#3.2 shoe.cel*1:0 2" reads like "#3.2 shoe.cel *1 :0 2".
  std::string spaced;
  spaced.reserve(data.size() + 8);
  for (size_t i = 0; i < data.size(); ++i) {
    if ((data[i] == ':' || data[i] == '*') && i > 0 && !IsAsciiSpace(data[i - 1])) spaced += ' ';
    spaced += data[i];
  }
  const std::vector<std::string_view> tokens = Tokens(spaced);
  if (tokens.empty()) return;
  if (tokens[0].size() < 2 || tokens.size() < 2) {
    doll_.report.Error(kMsgSyntaxError, LineNumber());
    return;
  }

  const std::string_view head = tokens[0].substr(1);
  const auto object_number = static_cast<uint16_t>(ParseInt(head));
  const size_t dot = head.find('.');
  const auto fix = dot == std::string_view::npos
                       ? uint16_t{0}
                       : static_cast<uint16_t>(ParseInt(head.substr(dot + 1)));
  const std::string_view file_name = tokens[1];

  int palette = 0;
  size_t next = 2;
  if (next < tokens.size() && tokens[next][0] == '*') {
    const std::string_view star = tokens[next];
    if (star.size() > 1 && IsAsciiDigit(star[1])) {
      const int n = ParseInt(star.substr(1));
      if (n != 0 && static_cast<size_t>(n) >= doll_.palette_file_names.size()) {
        doll_.report.Error(kMsgPaletteOutOfRange, n, LineNumber());
      } else {
        palette = n;
      }
      next = 3;
    } else if (next + 1 < tokens.size() && StartsWithDigit(tokens[next + 1])) {
      palette = ParseInt(tokens[next + 1]);
      next = 4;
    } else {
      doll_.report.Error(kMsgPaletteNumberMissing, LineNumber());
      next = 3;
    }
  }
  const auto palette16 = static_cast<uint16_t>(palette);

  CelInstance* instance = doll_.AddInstance();
  instance->object_number = object_number;
  instance->cel = doll_.RegisterCel(file_name, options_.paletted_textures ? 0 : palette16);
  instance->palette = palette16;
  instance->line = static_cast<int>(index_);
  current_instance_ = instance;

  if (next < tokens.size() && tokens[next][0] == ':') {
    instance->in_set.reset();
    const SetList list = ReadSetList(tokens, next);
    for (const int set : SetsOf(list, LineNumber(), doll_.report)) instance->in_set.set(set);
  }

  ParseCelComment(*instance, comment);

  for (int set = 0; set < kSetCount; ++set) {
    if (instance->in_set.test(set)) doll_.sets[set].used = true;
  }
  KissObject* object = doll_.FindObject(object_number, true);
  instance->object = object;
  object->cels.push_back(instance);
  if (fix > object->fix) object->fix = fix;
  if (fix > object->cnf_fix) object->cnf_fix = fix;
  instance->cnf_palette = instance->palette;
  instance->cnf_transparency = instance->transparency;
  instance->cnf_ghost = instance->ghost;
  instance->cnf_mapped = instance->mapped;
}

void CnfParser::ParseCelComment(CelInstance& instance, const LineComment& line_comment) {
  const std::string_view comment = line_comment.ascii;
  if (comment.empty() || (comment[0] != '%' && comment[0] != '!')) {
    instance.comment = line_comment.text;
    return;
  }
  std::string_view extension = comment;
  const size_t cut = comment.find(';');
  if (cut != std::string_view::npos) {
    extension = comment.substr(0, cut);
    // Shift-JIS never uses ';' as a second byte: the cut is the same in the text.
    std::string_view free_text =
        std::string_view(line_comment.text).substr(line_comment.TextOffset(cut));
    const size_t start = free_text.find_first_not_of("; \t");
    instance.comment = start == std::string_view::npos ? "" : std::string(free_text.substr(start));
  }
  const std::vector<std::string_view> tokens = Tokens(extension);
  size_t next = 0;
  for (; next < tokens.size() && tokens[next][0] == '%'; ++next) {
    const std::string_view token = tokens[next];
    const char letter = token.size() > 1 ? token[1] : '\0';
    const bool has_number = token.size() > 2 && IsAsciiDigit(token[2]);
    switch (letter) {
      case 'g':
        instance.ghost = true;
        break;
      case 'u':
        instance.mapped = false;
        break;
      case 't':
        if (has_number) {
          int value = ParseInt(token.substr(2));
          if (value < 0 || value > 255) {
            doll_.report.Warning(kMsgTransparencyOutOfRange, value, LineNumber());
            value = value < 0 ? 0 : 255;
          }
          instance.transparency = static_cast<uint16_t>(value);
        }
        break;
      case 'x':
        if (has_number) {
          instance.x_offset = ReadOffset(token.substr(2));
          instance.x_offset_given = true;
        }
        break;
      case 'y':
        if (has_number) {
          instance.y_offset = ReadOffset(token.substr(2));
          instance.y_offset_given = true;
        }
        break;
      default:
        doll_.report.Warning(kMsgSuspiciousExtension, LineNumber());
        break;
    }
  }
  ParseGroupExtension(tokens, next);
}

void CnfParser::ParseGroupExtension(const std::vector<std::string_view>& tokens, size_t next) {
  while (next < tokens.size() && tokens[next][0] == '!') {
    const std::string_view token = tokens[next++];
    if (token.size() > 1 && IsAsciiAlpha(token[1])) {
      current_group_ = doll_.FindOrCreateGroup(token.substr(1));
      current_group_->AddInstance(current_instance_);
    }
    while (next < tokens.size() && tokens[next][0] == ':') {
      const SetList list = ReadSetList(tokens, next);
      const std::vector<int> sets = SetsOf(list, LineNumber(), doll_.report);
      if (!current_group_) continue;
      for (const int set : sets) current_group_->AddInstanceForSet(current_instance_, set);
    }
  }
}

void CnfParser::ParseSetLine(std::string_view data) {
  const int set = set_counter_++;
  bool usable = true;
  if (set >= kSetCount) {
    doll_.report.Error(kMsgSetNumberOutOfRange, set, LineNumber());
    usable = false;
  }
  const size_t head_end = data.find_first_of(" \t\n\v\f\r");
  const std::string_view head = data.substr(0, head_end);
  if (usable && head.size() > 1) {
    if (!IsAsciiDigit(head[1])) {
      doll_.report.Error(kMsgSyntaxError, LineNumber());
      usable = false;
    } else {
      int group = ParseInt(head.substr(1));
      if (group < 0 || group >= kPaletteGroupCount) {
        doll_.report.Error(kMsgPaletteGroupOutOfRange, group, LineNumber());
        group = 0;
      }
      doll_.sets[set].palette_group = group;
      doll_.sets[set].cnf_palette_group = group;
    }
  }

  int object = 0;
  if (usable) ParsePositions(data.substr(head.size()), LineNumber(), set, object);
  // Lines that start with white space continue the set line; they never
  // reach the line dispatch, comments included.
  size_t last = index_;
  while (last + 1 < lines_.size() && !lines_[last + 1].empty() &&
         IsAsciiSpace(lines_[last + 1][0])) {
    ++last;
    if (!usable) continue;
    const std::string_view line = lines_[last];
    ParsePositions(line.substr(0, line.find(';')), static_cast<int>(last) + 1, set, object);
  }
  resume_after_ = last;
}

void CnfParser::ParsePositions(std::string_view text, int line_number, int set, int& object) {
  for (const std::string_view token : Tokens(text)) {
    const int number = object++;
    if (token == "*") continue;
    bool ok = false;
    if (token[0] == '-' || IsAsciiDigit(token[0])) {
      size_t used_x = 0;
      size_t used_y = 0;
      const int x = ParseInt(token, &used_x);
      if (used_x > 0 && used_x < token.size() && token[used_x] == ',') {
        const int y = ParseInt(token.substr(used_x + 1), &used_y);
        if (used_y > 0) {
          const Position at{LimitCoordinate(x), LimitCoordinate(y)};
          if (at.x != x || at.y != y) {
            doll_.report.Warning(kMsgPositionLimited, number, x, y, line_number, at.x, at.y);
          }
          KissObject* target = doll_.FindObject(number, true);
          target->position[set] = target->saved_position[set] = target->initial_position[set] = at;
          ok = true;
        }
      }
    }
    if (!ok) {
      doll_.report.Error(kMsgSyntaxError, line_number);
      return;
    }
  }
}

void CnfParser::ParsePaletteLine(std::string_view data) {
  const std::string_view name = PaletteLineFileName(data);
  if (!name.empty()) doll_.palette_file_names.emplace_back(name);
}

void CnfParser::ParsePlayfieldLine(std::string_view data) {
  if (data.size() < 2 || !IsAsciiDigit(data[1])) {
    doll_.report.Error(kMsgSyntaxError, LineNumber());
    return;
  }
  size_t used = 0;
  const int width = ParseInt(data.substr(1), &used);
  size_t at = 1 + used;
  while (at < data.size() && !IsAsciiDigit(data[at])) ++at;
  if (at == data.size()) {
    doll_.report.Error(kMsgSyntaxError, LineNumber());
    return;
  }
  const int height = ParseInt(data.substr(at));
  const PlayfieldSize size{LimitPlayfieldSide(width), LimitPlayfieldSide(height)};
  if (size.width != width || size.height != height) {
    doll_.report.Warning(kMsgPlayfieldLimited, width, height, LineNumber(), size.width,
                         size.height);
  }
  doll_.playfield = doll_.cnf_playfield = doll_.view_playfield = size;
}

int CnfParser::ReadOffset(std::string_view digits) {
  const int value = ParseInt(digits);
  const int offset = LimitCelOffset(value);
  if (offset != value) doll_.report.Warning(kMsgOffsetLimited, value, LineNumber(), offset);
  return offset;
}

void CnfParser::ParseBorderLine(std::string_view data) {
  size_t used = 0;
  const int color = ParseInt(data.substr(1), &used);
  if (used == 0) {
    doll_.report.Error(kMsgSyntaxError, LineNumber());
    return;
  }
  doll_.border_color = doll_.cnf_border_color = color;
}

void CnfParser::CheckHint(std::string_view comment) {
  const size_t start = comment.find_first_not_of(kTrimChars);
  if (start == std::string_view::npos) return;
  comment.remove_prefix(start);
  if (comment.size() <= 8 || comment.substr(0, 5) != "HINT ") return;
  const size_t key_start = comment.find_first_not_of(' ', 5);
  if (key_start == std::string_view::npos) return;
  const size_t key_end = comment.find(' ', key_start);
  if (key_end == std::string_view::npos) return;
  const size_t value_start = comment.find_first_not_of(' ', key_end);
  if (value_start == std::string_view::npos) return;
  size_t value_end = value_start;
  while (value_end < comment.size() &&
         (IsAsciiAlpha(comment[value_end]) || IsAsciiDigit(comment[value_end]))) {
    ++value_end;
  }
  const std::string_view keyword = comment.substr(key_start, key_end - key_start);
  const std::string_view value = comment.substr(value_start, value_end - value_start);
  HintSettings& hints = doll_.hints;

  if (StartsWithIgnoreCase(keyword, "stack")) {
    if (hints.stack_hint) return;
    hints.stack_hint = true;
    const int depth = ParseInt(value);
    if (depth > 1) hints.stack_depth = depth;
  } else if (StartsWithIgnoreCase(keyword, "maxfix")) {
    if (hints.max_fix_hint) return;
    hints.max_fix_hint = true;
    const int max_fix = ParseInt(value);
    if (max_fix > 1) hints.max_fix = max_fix;
  } else if (StartsWithIgnoreCase(keyword, "bounds")) {
    if (hints.bounds_hint) return;
    hints.bounds_hint = true;
    std::string_view mode = comment.substr(value_start);
    const size_t further = mode.find(';');
    if (further != std::string_view::npos) mode = mode.substr(0, further > 0 ? further - 1 : 0);
    static constexpr std::string_view kModes[] = {"all", "fkiss", "limited", "visible", "none"};
    for (int i = 0; i < 5; ++i) {
      if (StartsWithIgnoreCase(mode, kModes[i])) {
        hints.bounds = hints.cnf_bounds = static_cast<BoundsMode>(i);
        break;
      }
    }
  } else {
    doll_.report.Warning(kMsgUnknownHint, LineNumber());
  }
}

}  // namespace

Status ParseCnf(DollModel& doll, Host& host, const CnfParseOptions& options) {
  return CnfParser(doll, host, options).Run();
}

std::string_view PaletteLineFileName(std::string_view data) {
  if (data.empty() || data[0] != '%') return {};
  std::string_view name = data.substr(1);
  if (!name.empty() && name[0] == '%') name.remove_prefix(1);
  return name.substr(0, name.find_first_of(" \t\n\v\f\r;"));
}

}  // namespace luma
