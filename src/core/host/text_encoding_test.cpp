#include "core/host/text_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace luma {
namespace {

// Shift-JIS (code page 932) bytes and the text they stand for.
const std::string kHello = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";  // こんにちは
const std::string kHalfWidth = "\xb6\xc0\xb6\xc5";                      // ｶﾀｶﾅ
const std::string kTest = "\x83\x65\x83\x58\x83\x67";                   // テスト: e, X, g
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";                   // ソフト: \ t g
const std::string kShow = "\x95\x5c\x8e\xa6";                           // 表示
const std::string kA = "\x83\x41";                                      // ア ("A")
const std::string kDi = "\x83\x61";                                     // ヂ ("a")

TEST(TextEncodingTest, ShiftJisWithHalfWidthKatakanaAndAsciiSecondBytes) {
  const std::string text = "; " + kHalfWidth + " " + kTest + " " + kSoft + " " + kShow + "\n";
  EXPECT_EQ(GuessTextEncoding(text), TextEncoding::kShiftJis);
  EXPECT_EQ(DecodeText(text, TextEncoding::kAutomatic), "; ｶﾀｶﾅ テスト ソフト 表示\n");
  EXPECT_EQ(DecodeText(kHello, TextEncoding::kShiftJis), "こんにちは");
  // Names of kanji alone are Japanese too: 日本語, and 表 whose second byte is a backslash.
  EXPECT_EQ(GuessTextEncoding("\x93\xfa\x96\x7b\x8c\xea"), TextEncoding::kShiftJis);
  EXPECT_EQ(GuessTextEncoding("\x95\x5c.cel"), TextEncoding::kShiftJis);
  EXPECT_EQ(DecodeText("\x95\x5c.cel", TextEncoding::kAutomatic), "表.cel");
  // Half-width katakana alone hold no double-byte character.
  EXPECT_EQ(GuessTextEncoding(kHalfWidth), TextEncoding::kWindows1252);
}

TEST(TextEncodingTest, WindowsLatinTextEvenWhenItsBytesPairUpLikeShiftJis) {
  const std::string french =
      "Poup\xe9"
      "e \xe0 l'\xe9t\xe9 \x80"
      "5";
  EXPECT_EQ(GuessTextEncoding(french), TextEncoding::kWindows1252);
  EXPECT_EQ(DecodeText(french, TextEncoding::kAutomatic), "Poupée à l'été €5");
  // Every accented letter here is followed by a letter: valid CP932 pairs.
  const std::string german =
      "M\xe4"
      "dchen f\xfcr sch\xf6ne Kleider";
  EXPECT_EQ(GuessTextEncoding(german), TextEncoding::kWindows1252);
  EXPECT_EQ(DecodeText(german, TextEncoding::kAutomatic), "Mädchen für schöne Kleider");
  EXPECT_EQ(DecodeText("caf\xe9", TextEncoding::kWindows1252), "café");
  // A curly apostrophe before a letter pairs up too.
  EXPECT_EQ(DecodeText("Emma\x92s doll", TextEncoding::kAutomatic), "Emma’s doll");
}

TEST(TextEncodingTest, Utf8WithAndWithoutByteOrderMark) {
  const std::string hello = "こんにちは é";
  EXPECT_EQ(GuessTextEncoding(hello), TextEncoding::kUtf8);
  EXPECT_EQ(DecodeText(hello, TextEncoding::kAutomatic), hello);
  const std::string marked =
      "\xEF\xBB\xBF"
      "Doll";
  EXPECT_EQ(GuessTextEncoding(marked), TextEncoding::kUtf8);
  EXPECT_EQ(DecodeText(marked, TextEncoding::kAutomatic), "Doll");
  EXPECT_EQ(DecodeText(marked, TextEncoding::kUtf8), "Doll");
}

TEST(TextEncodingTest, AsciiStaysAsciiInEveryEncoding) {
  const std::string ascii = "#1 shirt.cel *0 :0 1 ; \\ ~ \t\r\n";
  EXPECT_EQ(GuessTextEncoding(ascii), TextEncoding::kWindows1252);
  for (const TextEncoding e : {TextEncoding::kAutomatic, TextEncoding::kShiftJis,
                               TextEncoding::kWindows1252, TextEncoding::kUtf8}) {
    EXPECT_EQ(DecodeText(ascii, e), ascii);
  }
  EXPECT_EQ(DecodeText("", TextEncoding::kShiftJis), "");
}

TEST(TextEncodingTest, InvalidBytesBecomeReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  // A lead byte at the end, one followed by a blank, bytes CP932 lacks.
  EXPECT_EQ(DecodeText("a\x83", TextEncoding::kShiftJis), "a" + fffd);
  EXPECT_EQ(DecodeText("\x83 b", TextEncoding::kShiftJis), fffd + " b");
  EXPECT_EQ(DecodeText("\xff" + kA, TextEncoding::kShiftJis), fffd + "ア");
  EXPECT_EQ(DecodeText("x\x81y", TextEncoding::kWindows1252), "x" + fffd + "y");
  EXPECT_EQ(DecodeText("\xe9t\xe9", TextEncoding::kUtf8), fffd + "t" + fffd);
  EXPECT_EQ(DecodeText("\xed\xa0\x80", TextEncoding::kUtf8), fffd + fffd + fffd);  // surrogate
  // A long Japanese text with one broken character is still Japanese.
  std::string long_text;
  for (int i = 0; i < 30; ++i) long_text += kHello;
  long_text += "\x83";
  EXPECT_EQ(GuessTextEncoding(long_text), TextEncoding::kShiftJis);

  // Whatever the bytes, the result is valid UTF-8: decoding it as UTF-8
  // changes nothing.
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(1 + random() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    for (const TextEncoding e : {TextEncoding::kAutomatic, TextEncoding::kShiftJis,
                                 TextEncoding::kWindows1252, TextEncoding::kUtf8}) {
      const std::string shown = DecodeText(bytes, e);
      if (shown.starts_with("\xEF\xBB\xBF")) continue;
      EXPECT_EQ(DecodeText(shown, TextEncoding::kUtf8), shown);
    }
  }
}

TEST(TextEncodingTest, PathsKeepDesktopFoldersAndDecodeTheDollsNames) {
  EXPECT_EQ(DecodePath("/home/ドール/" + kA + ".cel", TextEncoding::kShiftJis),
            "/home/ドール/ア.cel");
  EXPECT_EQ(DecodePath("/tmp/caf\xe9.cel", TextEncoding::kWindows1252), "/tmp/café.cel");
  EXPECT_EQ(DecodePath("plain/path", TextEncoding::kShiftJis), "plain/path");
}

TEST(TextEncodingTest, ShiftJisNamesFoldOnlySingleByteLetters) {
  // ア and ヂ differ only in the case of their second byte.
  const std::string a = kA + "Hat.CEL";
  const std::string di = kDi + "hat.cel";
  EXPECT_FALSE(NamesEqual(a, di, TextEncoding::kShiftJis));
  EXPECT_TRUE(NamesEqual(a, kA + "HAT.cel", TextEncoding::kShiftJis));
  EXPECT_EQ(FoldNameCase(a, TextEncoding::kShiftJis), kA + "hat.cel");
  EXPECT_NE(CompareNames(a, di, TextEncoding::kShiftJis), 0);
  // Other encodings have no such characters; every ASCII letter folds.
  EXPECT_TRUE(NamesEqual("Caf\xe9.CEL", "caf\xe9.cel", TextEncoding::kWindows1252));
  EXPECT_EQ(FoldNameCase("\xc3\x89T\xc3\xa9", TextEncoding::kUtf8), "\xc3\x89t\xc3\xa9");
  // Half-width katakana are single bytes: the letter after one folds.
  EXPECT_EQ(FoldNameCase("\xb1X", TextEncoding::kShiftJis), "\xb1x");
}

}  // namespace
}  // namespace luma
