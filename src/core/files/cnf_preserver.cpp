#include <algorithm>
#include <optional>

#include "core/files/cel_line_text.h"
#include "core/files/cnf_line_kinds.h"
#include "core/files/cnf_line_reader.h"
#include "core/files/cnf_text.h"
#include "core/files/set_line_writer.h"
#include "core/files/unloaded_cel_lines.h"
#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/cnf_parser.h"

namespace luma {
namespace {

// The comment as the parser reads it: control bytes and bytes of 128 and
// above dropped.
std::string FilteredComment(std::string_view raw) {
  std::string comment;
  for (const char c : raw) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte < 128) comment += c;
  }
  return comment;
}

std::string_view Comment(const std::string& line) {
  const size_t semicolon = line.find(';');
  if (semicolon == std::string::npos) return {};
  return std::string_view(line).substr(semicolon + 1);
}

bool IsScriptComment(std::string_view raw) {
  const std::string comment = FilteredComment(raw);
  return comment.size() > 2 && comment[0] == '@';
}

bool IsEventHandler(std::string_view raw) {
  if (!IsScriptComment(raw)) return false;
  std::string comment = FilteredComment(raw).substr(1);
  const size_t start = comment.find_first_not_of(' ');
  return start != std::string::npos && comment.compare(start, 12, "EventHandler") == 0;
}

std::string RightTrimmed(std::string_view text) {
  const size_t end = text.find_last_not_of(" \t");
  return end == std::string_view::npos ? "" : std::string(text.substr(0, end + 1));
}

// One "%" token of a cel line's extension to set (a token) or remove (empty).
struct PercentEdit {
  char letter;
  std::string token;
};

// Applies `edits` to the "%" tokens at the start of a cel line's extension,
// adding the extension when the line has none.
std::string EditExtension(const std::string& data, std::string_view raw_comment, bool has_comment,
                          const std::vector<PercentEdit>& edits) {
  const std::string filtered = FilteredComment(raw_comment);
  const bool is_extension = !filtered.empty() && (filtered[0] == '%' || filtered[0] == '!');
  std::vector<std::string> percent;
  std::string rest;  // the group part of the extension, as written
  std::optional<std::string_view> tail;
  if (is_extension) {
    const size_t end = raw_comment.find(';');
    const std::string_view extension = raw_comment.substr(0, end);
    if (end != std::string_view::npos) tail = raw_comment.substr(end + 1);
    size_t i = 0;
    for (;;) {
      while (i < extension.size() && IsAsciiSpace(extension[i])) ++i;
      if (i == extension.size() || extension[i] != '%') break;
      const size_t start = i;
      while (i < extension.size() && !IsAsciiSpace(extension[i])) ++i;
      percent.emplace_back(extension.substr(start, i - start));
    }
    rest = RightTrimmed(extension.substr(i));
  }
  for (const PercentEdit& edit : edits) {
    std::erase_if(percent,
                  [&](const std::string& t) { return t.size() > 1 && t[1] == edit.letter; });
    if (!edit.token.empty()) percent.push_back(edit.token);
  }
  std::string extension;
  for (const std::string& token : percent) extension += (extension.empty() ? "" : " ") + token;
  if (!rest.empty()) extension += (extension.empty() ? "" : " ") + rest;

  if (!is_extension) {
    if (!has_comment) return data + "\t;" + extension;
    return data + CelCommentText(extension, raw_comment);
  }
  if (extension.empty()) {
    // What is left is the free comment, which the parser takes without its
    // leading ";" and blanks.
    std::string_view free_text = tail.value_or(std::string_view());
    const size_t start = free_text.find_first_not_of("; \t");
    free_text = start == std::string_view::npos ? std::string_view() : free_text.substr(start);
    return data + CelCommentText("", free_text);
  }
  std::string line = data + ";" + extension;
  if (tail) line += " ;" + std::string(*tail);
  return line;
}

bool Matches(const CelLineValues& read, const CelLineValues& wanted, const KissCel* cel) {
  const int cel_x = cel ? cel->x_offset : 0;
  const int cel_y = cel ? cel->y_offset : 0;
  return read.in_set == wanted.in_set && read.transparency == wanted.transparency &&
         read.mapped == wanted.mapped && (read.x_given ? read.x : cel_x) == wanted.x &&
         (read.y_given ? read.y : cel_y) == wanted.y;
}

// Brings one cel line in line with its instance, touching only what differs.
std::string EditCelLine(const std::string& line, const DollModel& doll, const CelInstance& instance,
                        const CnfSaveOptions& options, int palette_lines) {
  const std::optional<CelLineValues> read = ReadCelLine(line);
  const int cel_x = instance.cel ? instance.cel->x_offset : 0;
  const int cel_y = instance.cel ? instance.cel->y_offset : 0;
  CelLineValues wanted;
  if (read) wanted = *read;
  wanted.in_set = instance.in_set;
  if (options.transparencies) wanted.transparency = instance.transparency;
  if (options.mapping) wanted.mapped = instance.mapped;
  wanted.x = instance.x_offset;
  wanted.y = instance.y_offset;
  if (read && Matches(*read, wanted, instance.cel)) return line;

  if (read) {
    const size_t semicolon = line.find(';');
    const bool has_comment = semicolon != std::string::npos;
    std::string data = line.substr(0, semicolon);
    const std::string_view raw_comment =
        has_comment ? std::string_view(line).substr(semicolon + 1) : std::string_view();
    if (read->in_set != wanted.in_set) {
      const size_t colon = data.find(':');
      data = RightTrimmed(data.substr(0, colon)) + " :" + SetFieldText(wanted.in_set) + " ";
    }
    std::vector<PercentEdit> edits;
    if (read->transparency != wanted.transparency) {
      edits.push_back({'t', wanted.transparency ? StringPrintf("%%t%d", wanted.transparency) : ""});
    }
    if (read->mapped != wanted.mapped) edits.push_back({'u', wanted.mapped ? "" : "%u"});
    if ((read->x_given ? read->x : cel_x) != wanted.x) {
      edits.push_back({'x', wanted.x == cel_x ? "" : StringPrintf("%%x%d", wanted.x)});
    }
    if ((read->y_given ? read->y : cel_y) != wanted.y) {
      edits.push_back({'y', wanted.y == cel_y ? "" : StringPrintf("%%y%d", wanted.y)});
    }
    const std::string edited = edits.empty() ? data + (has_comment ? line.substr(semicolon) : "")
                                             : EditExtension(data, raw_comment, has_comment, edits);
    // An edit may turn the rest of the extension into comment text, when
    // what is left there does not read as an extension.
    const std::optional<CelLineValues> check = ReadCelLine(edited);
    if (check && Matches(*check, wanted, instance.cel) && check->ghost == read->ghost &&
        check->comment == read->comment && check->groups == read->groups) {
      return edited;
    }
  }

  // A line the edits cannot bring in line is written anew from the model,
  // keeping what the line said where no option asks for the live value.
  return FormatCelLine(doll, instance, wanted.transparency, wanted.mapped, CelColumns{0, 0, 0},
                       palette_lines);
}

// Replaces the number(s) after the leading character of a border or
// playfield line, keeping the rest of the line.
std::string ReplaceBorderLine(const std::string& line, int border) {
  const size_t at = line.find('[');
  size_t used = 0;
  ParseInt(std::string_view(line).substr(at + 1), &used);
  return line.substr(0, at) + StringPrintf("[%d", border) + line.substr(at + 1 + used);
}

std::string ReplacePlayfieldLine(const std::string& line, const PlayfieldSize& size) {
  const size_t at = line.find('(');
  const size_t data_end = std::min(line.find(';'), line.size());
  size_t end = at + 1;
  size_t used = 0;
  ParseInt(std::string_view(line).substr(end, data_end - end), &used);
  if (used > 0) {
    end += used;
    size_t next = end;
    while (next < data_end && !IsAsciiDigit(line[next])) ++next;
    ParseInt(std::string_view(line).substr(next, data_end - next), &used);
    end = used > 0 ? next + used : data_end;
  } else {
    end = data_end;
  }
  return line.substr(0, at) + StringPrintf("(%d,%d", size.width, size.height) + line.substr(end);
}

// The bytes a CNF held for one line: the text, its line ending, and any
// bytes after the ending that formed no line (an end-of-file mark).
struct RawLine {
  std::string_view text;
  std::string_view ending;
  std::string_view trailing;
};

RawLine SplitRawLine(std::string_view raw, bool lone_cr_ends_lines) {
  // On disk only LF ends a line: a CR before it is part of the ending, any
  // other CR part of the line's text.
  const size_t end = lone_cr_ends_lines ? raw.find_first_of("\r\n") : raw.find('\n');
  if (end == std::string_view::npos) return {raw, {}, {}};
  if (!lone_cr_ends_lines) {
    const size_t start = end > 0 && raw[end - 1] == '\r' ? end - 1 : end;
    return {raw.substr(0, start), raw.substr(start, end + 1 - start), raw.substr(end + 1)};
  }
  const size_t ending = raw.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  return {raw.substr(0, end), raw.substr(end, ending), raw.substr(end + ending)};
}

// Whether the line may be written as the file held it: read back it must give
// the doll the same line. A line read from an archive lost its trailing
// blanks and the control bytes of its comment (escape sequences of old
// Japanese text), which the parser passes over; a control byte before the
// comment, or a lone CR (no line ending on disk), would read differently.
bool RawLineKeepsLine(const RawLine& raw, std::string_view line) {
  if (raw.ending == "\r") return false;
  if (raw.text == line) return true;
  std::string read;
  bool comment = false;
  for (const char c : raw.text) {
    comment = comment || c == ';';
    if (static_cast<unsigned char>(c) < 32 && c != '\t') {
      if (!comment) return false;
      continue;
    }
    read += c;
  }
  const size_t end = read.find_last_not_of(" \t");
  return std::string_view(read).substr(0, end == std::string::npos ? 0 : end + 1) == line;
}

class Preserver {
 public:
  Preserver(const DollModel& doll, const FkissScript* script, const CnfSaveOptions& options,
            const HintValues& hints)
      : doll_(doll),
        script_(script),
        options_(options),
        hints_(hints),
        lines_(doll.cnf_lines),
        infos_(ClassifyLines(doll.cnf_lines)),
        unloaded_(FindUnloadedCelLines(doll)) {}

  CnfText Run() {
    EditBorderAndPlayfield();
    EditCelLines();
    EditHints();
    return Write();
  }

 private:
  void EditBorderAndPlayfield() {
    const bool border = doll_.border_color != doll_.cnf_border_color;
    const bool playfield = !(doll_.playfield == doll_.cnf_playfield);
    bool border_found = false;
    bool playfield_found = false;
    // The parser takes every such line, the last one winning, so all change.
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (infos_[i].kind != LineKind::kOther || infos_[i].data.empty()) continue;
      if (border && infos_[i].data[0] == '[') {
        lines_[i] = ReplaceBorderLine(lines_[i], doll_.border_color);
        border_found = true;
      } else if (playfield && infos_[i].data[0] == '(') {
        lines_[i] = ReplacePlayfieldLine(lines_[i], doll_.playfield);
        playfield_found = true;
      }
    }
    need_border_line_ = border && !border_found;
    need_playfield_line_ = playfield && !playfield_found;
  }

  void EditCelLines() {
    std::vector<int> palettes_before(lines_.size() + 1, 0);
    for (size_t i = 0; i < lines_.size(); ++i) {
      const bool palette =
          infos_[i].kind == LineKind::kOther && !PaletteLineFileName(infos_[i].data).empty();
      palettes_before[i + 1] = palettes_before[i] + (palette ? 1 : 0);
    }
    for (const auto& instance : doll_.instances()) {
      const int line = instance->line;
      if (line < 0 || static_cast<size_t>(line) >= lines_.size() ||
          infos_[line].kind != LineKind::kCel) {
        continue;
      }
      lines_[line] = EditCelLine(lines_[line], doll_, *instance, options_, palettes_before[line]);
    }
  }

  // The first HINT of each kind counts, so an option replaces the first
  // line of its kind, or adds a line next to the other HINTs.
  void EditHints() {
    const bool any_hint = options_.stack_hint || options_.maxfix_hint || options_.bounds_hint;
    if (!any_hint && !need_border_line_ && !need_playfield_line_) return;
    std::optional<size_t> first_stack, first_maxfix, first_bounds;
    for (size_t i = 0; i < lines_.size(); ++i) {
      if (infos_[i].kind == LineKind::kCel || infos_[i].kind == LineKind::kSetContinuation) {
        continue;
      }
      const std::string_view comment = Comment(lines_[i]);
      if (comment.empty()) continue;
      const HintKind kind = ReadHintKind(comment);
      if (kind == HintKind::kNone) continue;
      insert_at_ = i + 1;
      while (insert_at_ < lines_.size() && infos_[insert_at_].kind == LineKind::kSetContinuation) {
        ++insert_at_;
      }
      if (kind == HintKind::kStack && !first_stack) first_stack = i;
      if (kind == HintKind::kMaxFix && !first_maxfix) first_maxfix = i;
      if (kind == HintKind::kBounds && !first_bounds) first_bounds = i;
    }
    auto apply = [&](bool wanted, const std::optional<size_t>& line, const std::string& text) {
      if (!wanted) return;
      if (line) {
        lines_[*line] = lines_[*line].substr(0, lines_[*line].find(';')) + text;
      } else {
        inserted_.insert(inserted_.begin(), text);
      }
    };
    apply(options_.stack_hint, first_stack, StringPrintf(";HINT stack %d", hints_.stack_depth));
    apply(options_.maxfix_hint, first_maxfix, StringPrintf(";HINT maxfix %d", hints_.max_fix));
    apply(options_.bounds_hint, first_bounds,
          std::string(";HINT bounds ") + BoundsModeName(doll_.hints.bounds));
    if (need_border_line_)
      inserted_.insert(inserted_.begin(), StringPrintf("[%d", doll_.border_color));
    if (need_playfield_line_) {
      inserted_.insert(inserted_.begin(),
                       StringPrintf("(%d,%d", doll_.playfield.width, doll_.playfield.height));
    }
  }

  // A cel line written anew may bring a ;! line with it.
  void Emit(std::string_view text) {
    for (;;) {
      const size_t end = text.find('\n');
      out_.push_back({std::string(text.substr(0, end)), -1});
      if (end == std::string_view::npos) break;
      text.remove_prefix(end + 1);
    }
  }

  RawLine Raw(size_t i) const {
    return SplitRawLine(doll_.cnf_raw_lines[i], doll_.cnf_lone_cr_ends_lines);
  }

  // Line `i` of the CNF: as the file held it, line ending and all, unless it
  // was changed.
  void EmitLine(size_t i) {
    const bool unchanged = i < doll_.cnf_lines.size() && i < doll_.cnf_raw_lines.size() &&
                           lines_[i] == doll_.cnf_lines[i] && RawLineKeepsLine(Raw(i), lines_[i]);
    out_.push_back({lines_[i], unchanged ? static_cast<int>(i) : -1});
  }

  // The lines joined: lines kept as they were bring their own ending, the
  // others take the CNF's.
  std::string JoinLines() const {
    const std::string eol = CnfLineEnding(doll_.cnf_raw_lines);
    std::string text;
    bool last_raw_kept = false;
    for (size_t k = 0; k < out_.size(); ++k) {
      const OutLine& line = out_[k];
      if (line.source < 0) {
        text += line.text;
        text += eol;
        continue;
      }
      const RawLine raw = Raw(static_cast<size_t>(line.source));
      text += raw.text;
      text += raw.ending;
      if (raw.ending.empty()) {
        // A piece of a long line goes on with the next piece, as it did.
        const bool continues = k + 1 < out_.size() && out_[k + 1].source == line.source + 1;
        if (!continues && k + 1 < out_.size()) text += eol;
      }
      if (static_cast<size_t>(line.source) + 1 == doll_.cnf_raw_lines.size()) {
        text += raw.trailing;
        last_raw_kept = true;
      }
    }
    if (!last_raw_kept && !doll_.cnf_raw_lines.empty()) {
      text += Raw(doll_.cnf_raw_lines.size() - 1).trailing;
    }
    return text;
  }

  void EmitSetLine(int set, std::string_view comment) {
    std::string text;
    WriteSetLine(text, doll_, set, options_.positions, unloaded_);
    text.pop_back();
    if (!comment.empty()) {
      // The set line's own comment (a script line, a HINT) stays on its line.
      const size_t end = text.find('\n');
      text.insert(end == std::string::npos ? text.size() : end, " ;" + std::string(comment));
    }
    Emit(text);
  }

  void EmitAddedScript(bool with_handler) {
    Emit(";");
    if (with_handler) Emit(";@EventHandler");
    const std::string& text = script_->added_text;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      Emit(text.substr(start, end - start));
      start = end + 1;
    }
  }

  CnfText Write() {
    const size_t count = lines_.size();
    size_t block = count;
    for (size_t i = 0; i < count; ++i) {
      if (infos_[i].kind == LineKind::kSet && RightTrimmed(infos_[i].data).size() >= 2) {
        block = i;
        break;
      }
    }
    // Added script goes above the comments that head the set lines, but
    // never between a cel line and its ;! lines.
    size_t script_at = block;
    while (script_at > 0) {
      const std::string& above = lines_[script_at - 1];
      if (above.empty() || above[0] != ';') break;
      if (above.size() > 1 && (above[1] == '@' || above[1] == '!')) break;
      --script_at;
    }
    // The script parser ignores everything before the EventHandler line, and
    // script lines below the added ones would join its events: the added
    // script goes to the end unless it can stand right above the set lines.
    bool script_here = false;
    bool with_handler = false;
    const bool added = script_ && !script_->added_text.empty();
    if (added) {
      bool handler_above = false;
      bool handler_anywhere = false;
      bool script_below = false;
      for (size_t i = 0; i < count; ++i) {
        if (infos_[i].kind == LineKind::kCel || infos_[i].kind == LineKind::kSetContinuation) {
          continue;
        }
        const std::string_view comment = Comment(lines_[i]);
        if (IsEventHandler(comment)) {
          handler_anywhere = true;
          if (i < script_at) handler_above = true;
        }
        if (i >= script_at && IsScriptComment(comment)) script_below = true;
      }
      script_here = handler_above && !script_below;
      with_handler = !handler_anywhere;
    }

    std::vector<int> new_line(count, -1);
    int next_set = 0;
    for (size_t i = 0; i < count; ++i) {
      if (i == insert_at_) {
        for (const std::string& line : inserted_) Emit(line);
      }
      if (i == script_at && script_here) EmitAddedScript(false);
      const LineInfo& info = infos_[i];
      if (info.kind == LineKind::kSetContinuation) continue;
      if (info.kind == LineKind::kSet) {
        const std::string_view comment = Comment(lines_[i]);
        if (i >= block && next_set < kSetCount) {
          EmitSetLine(next_set++, comment);
          continue;
        }
        // The set line goes, but it ended the cel line above: a ";" line in
        // its place keeps the ";!" lines below from joining that cel line,
        // and keeps a comment that is not one itself.
        const std::string filtered = FilteredComment(comment);
        Emit(!filtered.empty() && filtered[0] != '!' ? ";" + std::string(comment) : ";");
        continue;
      }
      new_line[i] = static_cast<int>(out_.size());
      EmitLine(i);
    }
    if (insert_at_ >= count) {
      for (const std::string& line : inserted_) Emit(line);
    }
    if (script_at >= count && script_here) EmitAddedScript(false);
    for (; next_set < kSetCount; ++next_set) {
      EmitSetLine(next_set, {});
      Emit("");
    }
    if (added && !script_here) EmitAddedScript(with_handler);

    CnfText result;
    result.text = JoinLines();
    for (const auto& instance : doll_.instances()) {
      const int line = instance->line;
      result.instance_lines.push_back(
          line >= 0 && static_cast<size_t>(line) < count ? new_line[line] : -1);
    }
    return result;
  }

  const DollModel& doll_;
  const FkissScript* script_;
  const CnfSaveOptions& options_;
  const HintValues& hints_;
  CnfLines lines_;
  std::vector<LineInfo> infos_;
  std::vector<UnloadedCelLine> unloaded_;
  bool need_border_line_ = false;
  bool need_playfield_line_ = false;
  size_t insert_at_ = 0;
  std::vector<std::string> inserted_;  // from the top
  struct OutLine {
    std::string text;
    int source;  // the CNF line kept as it was, or -1
  };
  std::vector<OutLine> out_;
};

}  // namespace

CnfText FormatPreservedCnf(const DollModel& doll, const FkissScript* script,
                           const CnfSaveOptions& options, const HintValues& hints) {
  return Preserver(doll, script, options, hints).Run();
}

}  // namespace luma
