#include "cli/check_report.h"

#include "core/host/text.h"
#include "core/view/doll_statistics.h"
#include "core/view/error_report_view.h"

namespace luma::cli {
namespace {

// Length of the UTF-8 sequence starting at `i`, or 0 when it is not one.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const bool shortest =
      (length == 3 && code >= 0x800) || (length == 4 && code >= 0x10000) || length == 2;
  const bool scalar = code < 0xD800 || (code > 0xDFFF && code <= 0x10FFFF);
  return shortest && scalar ? length : 0;
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + JsonString(items[i]);
  return out + "]";
}

std::string CounterValueText(const CheckCounter& c) {
  if (c.numbers.empty()) return c.word;
  std::string text;
  for (size_t i = 0; i < c.numbers.size(); ++i) {
    text += (i ? " / " : "") + std::to_string(c.numbers[i]);
  }
  return text;
}

std::string CounterValueJson(const CheckCounter& c) {
  if (c.numbers.empty()) return JsonString(c.word);
  if (c.numbers.size() == 1) return std::to_string(c.numbers[0]);
  std::string out = "[";
  for (size_t i = 0; i < c.numbers.size(); ++i) {
    out += (i ? ", " : "") + std::to_string(c.numbers[i]);
  }
  return out + "]";
}

}  // namespace

CheckReport MakeCheckReport(CKissCnfDoc& doc) {
  const DollModel& doll = doc.model();
  CheckReport r;
  r.error_count = doll.report.error_count();
  r.warning_count = doll.report.warning_count();
  // Entries quote the doll's names and texts: they are shown decoded.
  for (const std::string& e : doll.report.errors()) r.errors.push_back(doc.Shown(e));
  for (const std::string& w : doll.report.warnings()) r.warnings.push_back(doc.Shown(w));
  auto add = [&r](std::string name, std::vector<long long> numbers) {
    r.counters.push_back({std::move(name), std::move(numbers), ""});
  };
  add("Cels", {static_cast<long long>(doll.instances().size())});
  add("Cel counts", {doll.cel_counts.color16, doll.cel_counts.color256, doll.cel_counts.truecolor});
  add("Unique Cels", {static_cast<long long>(doll.cels().size())});
  add("Ambiguous cels", {static_cast<long long>(doll.ambiguous_cels().size())});
  add("KCF counts", {doll.kcf_counts.color16, doll.kcf_counts.color256});
  add("Objects", {static_cast<long long>(doll.objects().size())});
  add("Groups", {static_cast<long long>(doll.groups().size())});
  if (ScriptStages* script = doc.script()) {
    add("Events", {script->event_count()});
    add("Actions", {script->action_count()});
    r.counters.push_back({"FKiSS", {}, FkissLevelName(doll.fkiss_level)});
  }
  add("Quads", {doc.quad_count()});
  add("Textures", {doc.textures().texture_count()});
  r.title = doc.ShownTitle();
  return r;
}

std::string CheckReportText(const CheckReport& r) {
  std::string out = ErrorHeading(r.error_count) + "\n";
  for (const std::string& e : r.errors) out += e + "\n";
  out += "\n" + WarningHeading(r.warning_count) + "\n";
  for (const std::string& w : r.warnings) out += w + "\n";
  out += "\n";
  for (const CheckCounter& c : r.counters) out += c.name + ": " + CounterValueText(c) + "\n";
  out += "\nTitle: " + r.title + "\n";
  return out;
}

std::string CheckReportJson(const CheckReport& r) {
  std::string out = "\"error count\": " + std::to_string(r.error_count) +
                    ", \"errors\": " + JsonList(r.errors) +
                    ", \"warning count\": " + std::to_string(r.warning_count) +
                    ", \"warnings\": " + JsonList(r.warnings);
  for (const CheckCounter& c : r.counters) {
    out += ", " + JsonString(c.name) + ": " + CounterValueJson(c);
  }
  out += ", \"Title\": " + JsonString(r.title);
  return out;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += StringPrintf("\\u%04x", c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const size_t n = Utf8Length(text, i); n > 0) {
      out.append(text.substr(i, n));
      i += n;
      continue;
    } else {
      out += "\\ufffd";
    }
    ++i;
  }
  return out + "\"";
}

}  // namespace luma::cli
