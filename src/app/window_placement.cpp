#include "app/window_placement.h"

#include <array>
#include <cstdint>

#include "core/host/text.h"

namespace luma::app {

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
  std::array<int32_t, 10> fields{};
  size_t field = 0;
  size_t pos = 0;
  while (true) {
    const size_t comma = text.find(',', pos);
    const std::string_view part =
        text.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
    size_t consumed = 0;
    const int32_t value = ParseInt(part, &consumed);
    if (consumed == 0 || field == fields.size()) return std::nullopt;
    for (size_t i = consumed; i < part.size(); ++i) {
      if (!IsAsciiSpace(part[i])) return std::nullopt;
    }
    fields[field++] = value;
    if (comma == std::string_view::npos) break;
    pos = comma + 1;
  }
  if (field != fields.size()) return std::nullopt;
  WindowPlacement p;
  p.flags = static_cast<unsigned>(fields[0]);
  p.show_command = static_cast<unsigned>(fields[1]);
  p.min_x = fields[2];
  p.min_y = fields[3];
  p.max_x = fields[4];
  p.max_y = fields[5];
  p.left = fields[6];
  p.top = fields[7];
  p.right = fields[8];
  p.bottom = fields[9];
  return p;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
  return StringPrintf("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.show_command, p.min_x, p.min_y,
                      p.max_x, p.max_y, p.left, p.top, p.right, p.bottom);
}

}  // namespace luma::app
