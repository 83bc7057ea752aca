#include "core/model/messages.h"

#include <algorithm>
#include <array>
#include <cinttypes>
#include <cstdio>
#include <iterator>

namespace luma {
namespace {

struct MessageEntry {
  int id;
  const char* text;
};

// Sorted by id.
constexpr MessageEntry kMessages[] = {
    {kMsgMoreErrors, "*** There are more errors but Lumadoll will only list the first %d errors"},
    {kMsgMoreWarnings,
     "*** There are more warnings but Lumadoll will only list the first %d warnings"},
    {kMsgFileNoExtension, "Filename \"%s\" has no filename extension.\n"},
    {kMsgFileNameTooLong, "Filename \"%s\" is too long.\n"},
    {kMsgFileSuspiciousDot, "Filename \"%s\" has . in suspicious position.\n"},
    {kMsgFileSuspiciousChar, "Filename \"%s\" has suspicious character \"%s\".\n"},
    {kMsgFileNotFound, "%s file not found\n"},
    {kMsgNotKissFileType, "%s\nis not a KiSS file type"},
    {kMsgUnableToOpen, "Unable to open\n%s"},
    {kMsgUnexpectedEnd, "%s: Unexpected end of file\n"},
    {kMsgUnableToExtract, "Unable to extract %s"},
    {kMsgNotInArchive, "%s is not present in LZH\n"},
    {kMsgNoCnfInArchive, "%s does not contain a CNF file.\nMight not be KiSS data."},
    {kMsgNotInZip, "%s is not present in ZIP\n"},
    {kMsgNo256ColorKcf, "Doll contains 256-color CELs but no 256-color KCF palettes\n"},
    {kMsgNoKcf, "Doll contains 16-color CELs but no KCF palettes\n"},
    {kMsgInstanceKcfOutOfRange, "Instance KCF (%d) out of range (%d)\n"},
    {kMsgSyntaxError, "Syntax error in line %d\n"},
    {kMsgPaletteOutOfRange, "Palette out of range (%d) in line %d\n"},
    {kMsgPaletteNumberMissing, "Palette number missing in line %d\n"},
    {kMsgSetNumberOutOfRange, "Set number (%d) out of range in line %d.\n"},
    {kMsgTransparencyOutOfRange, "Transparency out of range (%d) in line %d\n"},
    {kMsgSuspiciousExtension, "Suspicious comment extension on line %d\n"},
    {kMsgPaletteGroupOutOfRange, "Palette group out of range (%d) in line %d\n"},
    {kMsgUnknownHint, "Unknown HINT in line %d\n"},
    {kMsgSetListOutOfRange,
     "Set number (%d) out of range in line %d. Assuming sets %s should be used.\n"},
    {kMsgNoCelsFound, "No cels were found in %s: it may not be a KiSS configuration file\n"},
    {kMsgBadBitsPerColor, "%s: Bits per color is not 12 or 24 (%i)\n"},
    {kMsgTooManyColors, "%s: Palette contains too many colors (%i)\n"},
    {kMsgTempCopyFailed, "FKiSS: Unable to create temporary copy of %s\n"},
    {kMsgFkissExtractFailed, "FKiSS: Unable to extract %s from LZH\n"},
    {kMsgFkissUnableToRead, "FKiSS: Unable to read %s\n"},
    {kMsgFkissClosestMatch,
     "FKiSS: Unable to match command %s() in line %d. Using closest match %s()."},
    {kMsgFkissNoMatch, "FKiSS: Unable to match command %s() in line %d."},
    {kMsgFkissNoName, "FKiSS: Command has no name in line %d."},
    {kMsgFkissInvalidParamType, "FKiSS: Parameter %d of command %s() is invalid type in line %d."},
    {kMsgFkissInvalidKey, "FKiSS: %s(\"%s\") not a valid key in line %d."},
    {kMsgFkissObjectNotFound, "FKiSS: Object #%d not found in line %d."},
    {kMsgFkissOutOfRange, "FKiSS: %s(%d) out of range in line %d."},
    {kMsgFkissTooFewParams, "FKiSS: Too few parameters in command %s() in line %d."},
    {kMsgFkissTooManyParams, "FKiSS: Too many parameters in command %s() in line %d."},
    {kMsgFkissUnknownFileType, "FKiSS: Unable to determine file type of %s\n"},
    {kMsgFkissActionBeforeEvent, "FKiSS: Action %s() encountered before Event in line %d."},
    {kMsgFkissBrokenEvents, "FKiSS: ignoring %d commands from broken events\n"},
    {kMsgFkissSyntaxError, "FKiSS: Syntax error in line %d [%s]"},
    {kMsgFkissGroupNotFound, "FKiSS: Cel group !%s not found in line %d."},
    {kMsgFkissCelNotFound, "FKiSS: Cel \"%s\" not found in line %d."},
    {kMsgFkissDuplicateEvent,
     "FKiSS: More than one event for %s. Additional commands will be concatenated."},
    {kMsgFkissTimerNoAlarm, "FKiSS: timer(%d) refers to non-existent alarm."},
    {kMsgFkissLabelUnreachable, "FKiSS: label(%s) is unreachable."},
    {kMsgFkissAlarmUnreachable, "FKiSS: alarm(%s) is unreachable."},
    {kMsgFkissLabelNumberUnreachable, "FKiSS: label(%d) is unreachable."},
    {kMsgFkissAlarmNumberUnreachable, "FKiSS: alarm(%d) is unreachable."},
    {kMsgFkissMissingParentheses, "FKiSS: Event %s missing parentheses in line %d."},
    {kMsgFkissMissingCloseParen, "FKiSS: Event %s missing closing parenthesis in line %d."},
    {kMsgFkissAlarmIsLabel, "FKiSS: Alarm ID %s is identical to label ID %s."},
    {kMsgFkissLabelIsVariable, "FKiSS: Label ID %s is identical to variable %s."},
    {kMsgFkissAlarmIsVariable, "FKiSS: Alarm ID %s is identical to variable %s."},
    {kMsgFkissPoolNameTooLong,
     "FKiSS: Value Pool \"%s\" is more than %d characters long in line %d."},
    {kMsgFkissPoolNameInvalid, "FKiSS: Value Pool \"%s\" invalid in line %d."},
    {kMsgFkissValueIdEmpty, "FKiSS: Value ID must contain at least 1 character in line %d."},
    {kMsgFkissValueIdTooLong, "FKiSS: Value ID \"%s\" is more than %d characters long in line %d."},
    {kMsgFkissValueIdInvalid, "FKiSS: Value ID \"%s\" invalid in line %d."},
    {kMsgFkissNoPrecedingIf, "FKiSS: %s() has no preceding if() statment in line %d"},
    {kMsgFkissIllegalNesting, "FKiSS: %s() illegally nested, implied endif() assumed in line %d"},
    {kMsgFkissNoMatchingEndif, "FKiSS: No matching endif() for %s() in line %d"},
    {kMsgFkissExtractFailedBecause, "FKiSS: Unable to extract %s from %s: %s\n"},
    {kMsgPlayfieldLimited, "Playfield size out of range (%d x %d) in line %d; using %d x %d\n"},
    {kMsgPositionLimited, "Position of object #%d out of range (%d,%d) in line %d; using %d,%d\n"},
    {kMsgOffsetLimited, "Cel offset out of range (%d) in line %d; using %d\n"},
    {kMsgFkissActionLimit,
     "FKiSS: %s stopped after %d actions; one event may run at most that many.\n"},
    {kMsgFkissAlarmPassLimit,
     "FKiSS: one alarm pass stopped after %d actions; one pass may run at most that many.\n"},
};

constexpr bool TableIsSorted() {
  for (size_t i = 1; i < std::size(kMessages); ++i) {
    if (kMessages[i - 1].id >= kMessages[i].id) return false;
  }
  return true;
}
static_assert(TableIsSorted());

constexpr auto MakeIdList() {
  std::array<int, std::size(kMessages)> ids{};
  for (size_t i = 0; i < ids.size(); ++i) ids[i] = kMessages[i].id;
  return ids;
}

}  // namespace

std::string_view MessageText(int id) {
  const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                   [](const MessageEntry& e, int key) { return e.id < key; });
  if (it == std::end(kMessages) || it->id != id) return {};
  return it->text;
}

std::span<const int> AllMessageIds() {
  static constexpr auto kIds = MakeIdList();
  return kIds;
}

std::string FormatText(std::string_view format, std::initializer_list<MessageArg> args) {
  std::string out;
  out.reserve(format.size() + 16);
  auto next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    const char conv = format[++i];
    if (conv == '%') {
      out += '%';
      continue;
    }
    const MessageArg* arg = next != args.end() ? next++ : nullptr;
    if (conv == 'd' || conv == 'i') {
      if (arg && !arg->is_text()) {
        char digits[24];
        std::snprintf(digits, sizeof digits, "%" PRId64, arg->number());
        out += digits;
      } else {
        out += '?';
      }
    } else if (conv == 's') {
      if (arg && arg->is_text()) {
        out += arg->text();
      } else {
        out += '?';
      }
    } else {
      out += '%';
      out += conv;
    }
  }
  return out;
}

}  // namespace luma
