#ifndef LUMA_CORE_MODEL_MESSAGES_H_
#define LUMA_CORE_MODEL_MESSAGES_H_

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// The numbered messages the loader and the FKiSS parser report, each with its
// exact text. Texts use printf conversions (%d, %i, %s only) and are formatted
// by FormatMessage, which checks every argument against its conversion so a
// mismatched call prints a marker instead of reading the wrong type.
namespace luma {

enum MessageId : int {
  kMsgMoreErrors = 61900,
  kMsgMoreWarnings = 61901,
  kMsgFileNoExtension = 61902,
  kMsgFileNameTooLong = 61903,
  kMsgFileSuspiciousDot = 61904,
  kMsgFileSuspiciousChar = 61905,
  kMsgFileNotFound = 62000,
  kMsgNotKissFileType = 62001,
  kMsgUnableToOpen = 62002,
  kMsgUnexpectedEnd = 62005,
  kMsgUnableToExtract = 62100,
  kMsgNotInArchive = 62101,
  kMsgNoCnfInArchive = 62102,
  kMsgNotInZip = 62103,
  kMsgNo256ColorKcf = 62200,
  kMsgNoKcf = 62201,
  kMsgInstanceKcfOutOfRange = 62202,
  kMsgSyntaxError = 62203,
  kMsgPaletteOutOfRange = 62204,
  kMsgPaletteNumberMissing = 62205,
  kMsgSetNumberOutOfRange = 62206,
  kMsgTransparencyOutOfRange = 62207,
  kMsgSuspiciousExtension = 62208,
  kMsgPaletteGroupOutOfRange = 62209,
  kMsgUnknownHint = 62210,
  kMsgSetListOutOfRange = 62211,
  kMsgNoCelsFound = 62212,
  kMsgBadBitsPerColor = 62300,
  kMsgTooManyColors = 62400,
  kMsgTempCopyFailed = 62500,
  kMsgFkissExtractFailed = 62501,
  kMsgFkissUnableToRead = 62502,
  kMsgFkissClosestMatch = 62503,
  kMsgFkissNoMatch = 62504,
  kMsgFkissNoName = 62505,
  kMsgFkissInvalidParamType = 62506,
  kMsgFkissInvalidKey = 62507,
  kMsgFkissObjectNotFound = 62508,
  kMsgFkissOutOfRange = 62509,
  kMsgFkissTooFewParams = 62510,
  kMsgFkissTooManyParams = 62511,
  kMsgFkissUnknownFileType = 62512,
  kMsgFkissActionBeforeEvent = 62513,
  kMsgFkissBrokenEvents = 62514,
  kMsgFkissSyntaxError = 62515,
  kMsgFkissGroupNotFound = 62516,
  kMsgFkissCelNotFound = 62517,
  kMsgFkissDuplicateEvent = 62520,
  kMsgFkissTimerNoAlarm = 62521,
  kMsgFkissLabelUnreachable = 62522,
  kMsgFkissAlarmUnreachable = 62523,
  kMsgFkissLabelNumberUnreachable = 62524,
  kMsgFkissAlarmNumberUnreachable = 62525,
  kMsgFkissMissingParentheses = 62526,
  kMsgFkissMissingCloseParen = 62527,
  kMsgFkissAlarmIsLabel = 62528,
  kMsgFkissLabelIsVariable = 62529,
  kMsgFkissAlarmIsVariable = 62530,
  kMsgFkissPoolNameTooLong = 62531,
  kMsgFkissPoolNameInvalid = 62532,
  kMsgFkissValueIdEmpty = 62533,
  kMsgFkissValueIdTooLong = 62534,
  kMsgFkissValueIdInvalid = 62535,
  kMsgFkissNoPrecedingIf = 62536,
  kMsgFkissIllegalNesting = 62537,
  kMsgFkissNoMatchingEndif = 62538,
  kMsgFkissExtractFailedBecause = 62539,
  // Values beyond what the engine holds (see doll_limits.h), and the bounds
  // on one script dispatch and one alarm pass.
  kMsgPlayfieldLimited = 62600,
  kMsgPositionLimited = 62601,
  kMsgOffsetLimited = 62602,
  kMsgFkissActionLimit = 62603,
  kMsgFkissAlarmPassLimit = 62604,
};

// What running out of memory anywhere in a load or an edit says.
inline constexpr char kOutOfMemoryText[] = "Out of memory";

// The raw text of a message, or empty for an unknown id.
std::string_view MessageText(int id);

// Every id of the table, ascending.
std::span<const int> AllMessageIds();

// One argument of a message: an integer for %d and %i, text for %s.
class MessageArg {
 public:
  MessageArg(int value) : number_(value), is_text_(false) {}        // NOLINT
  MessageArg(unsigned value) : number_(value), is_text_(false) {}   // NOLINT
  MessageArg(long value) : number_(value), is_text_(false) {}       // NOLINT
  MessageArg(long long value) : number_(value), is_text_(false) {}  // NOLINT
  MessageArg(unsigned long value)                                   // NOLINT
      : number_(static_cast<int64_t>(value)), is_text_(false) {}
  MessageArg(std::string_view text) : text_(text), is_text_(true) {}         // NOLINT
  MessageArg(const char* text) : text_(text ? text : ""), is_text_(true) {}  // NOLINT
  MessageArg(const std::string& text) : text_(text), is_text_(true) {}       // NOLINT

  bool is_text() const { return is_text_; }
  int64_t number() const { return number_; }
  std::string_view text() const { return text_; }

 private:
  int64_t number_ = 0;
  std::string_view text_;
  bool is_text_;
};

// Formats a printf-style text whose conversions are %d, %i, %s and %%.
// A missing or mismatched argument prints as "?".
std::string FormatText(std::string_view format, std::initializer_list<MessageArg> args);

// The message `id` formatted with `args`.
template <typename... Args>
std::string FormatMessage(int id, const Args&... args) {
  return FormatText(MessageText(id), {MessageArg(args)...});
}

}  // namespace luma

#endif  // LUMA_CORE_MODEL_MESSAGES_H_
