#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/messages.h"
#include "core/testing/fkiss_doll.h"

namespace luma {
namespace {

using testing::ScriptedDoll;

constexpr int kObjects = 4;
// CnfWithObjects(kObjects) takes this many lines; the EventHandler line follows.
constexpr int kHeaderLines = kObjects + 2;

// Line number of script line `i` (0-based) after the EventHandler line.
int Line(int i) { return kHeaderLines + 2 + i; }

std::unique_ptr<ScriptedDoll> Parse(const std::vector<std::string>& lines,
                                    FkissParseOptions options = {},
                                    const std::string& extra_cnf = "") {
  std::string cnf = testing::CnfWithObjects(kObjects);
  cnf += ";@EventHandler\n";
  for (const std::string& line : lines) cnf += ";@" + line + "\n";
  cnf += extra_cnf;
  return std::make_unique<ScriptedDoll>(cnf, options);
}

std::string Msg(int id, auto... args) { return FormatMessage(id, args...); }

TEST(FkissLexerTest, NothingCountsBeforeTheEventHandlerLine) {
  std::string cnf = testing::CnfWithObjects(kObjects);
  cnf += ";@press(#1) map(#1\n";  // broken, but not yet script
  cnf += ";@eventhandler\n";      // case matters
  cnf += ";@  EventHandler()\n";  // leading blanks are trimmed
  cnf += ";@press(#2) unmap(#2)\n";
  ScriptedDoll d(cnf);
  EXPECT_TRUE(d.doll.report.empty()) << d.ReportText();
  ASSERT_EQ(d.script.raw_commands.size(), 2u);
  EXPECT_EQ(d.script.raw_commands[0].name, "press");
  ASSERT_EQ(d.script.opened_events.size(), 1u);
  EXPECT_EQ(d.script.opened_events[0]->display_name, "press(#2)");
}

TEST(FkissLexerTest, TokensCommandsPerLineAndCommentTail) {
  auto d = Parse({"press(#1) move(#1, -5, xpos) map( \"a b.cel\" ) ; unmap(#1)",
                  "initialize() setframe(!hat_2, 7)"});
  const auto& raw = d->script.raw_commands;
  ASSERT_EQ(raw.size(), 5u);
  const FkissRawCommand& move = raw[1];
  EXPECT_EQ(move.name, "move");
  EXPECT_EQ(move.line, Line(0));
  EXPECT_EQ(move.params[0].lex_kind, TK_OBJECT);
  EXPECT_EQ(move.params[0].value, 1);
  EXPECT_EQ(move.params[1].lex_kind, TK_NUMBER);
  EXPECT_EQ(move.params[1].value, -5);
  EXPECT_EQ(move.params[2].lex_kind, TK_WORD);
  EXPECT_EQ(move.params[2].text, "xpos");
  EXPECT_EQ(raw[2].params[0].lex_kind, TK_STRING);
  EXPECT_EQ(raw[2].params[0].text, "a b.cel");
  EXPECT_TRUE(raw[2].params[1].empty());
  EXPECT_EQ(raw[4].params[0].lex_kind, TK_GROUP);
  EXPECT_EQ(raw[4].params[0].text, "hat_2");
  EXPECT_EQ(raw[0].length, 9);
}

TEST(FkissLexerTest, SyntaxErrorsEndTheLineButKeepEarlierCommands) {
  auto d = Parse({"press(#1) map(#1",        // list runs to the end
                  "press(#2) map(\"a.cel)",  // unterminated text
                  "press(#3) map(#-1)",      // # must take digits
                  "press(#0) map(#1 #2)"});  // no separator
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissSyntaxError, Line(0), "press(#1) map(#1")));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissSyntaxError, Line(1), "press(#2) map(\"a.cel)")));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissSyntaxError, Line(2), "press(#3) map(#-1)")));
  EXPECT_EQ(d->ErrorsStartingWith("FKiSS: Syntax error"), 4);
  EXPECT_EQ(d->script.opened_events.size(), 4u);
  // What could not be read stays as written, in its event, for writing out.
  std::vector<std::string> unkept;
  for (const UnkeptCommand& command : d->script.unkept_commands) {
    EXPECT_EQ(command.event, d->script.opened_events[unkept.size()]);
    EXPECT_EQ(command.position, 0u);
    unkept.push_back(command.text);
  }
  EXPECT_EQ(unkept, (std::vector<std::string>{"map(#1", "map(\"a.cel)", "map(#-1)", "map(#1 #2)"}));
}

TEST(FkissLexerTest, MissingParenthesesKeepTheCommandWithoutParameters) {
  auto d = Parse({"press(#1) map(", "press(#2) unmap"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissMissingCloseParen, "map", Line(0))));
  // Interpretation then finds map without its parameter.
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissTooFewParams, "map", Line(0))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissMissingParentheses, "unmap", Line(1))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissTooFewParams, "unmap", Line(1))));
  EXPECT_EQ(d->script.action_count, 0);
}

TEST(FkissLexerTest, FourParametersDropOnlyThatCommand) {
  auto d = Parse({"press(#1) move(#1, 1, 2, 3) map(#1)"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissTooManyParams, "move", Line(0))));
  ASSERT_EQ(d->script.opened_events.size(), 1u);
  ASSERT_EQ(d->script.opened_events[0]->actions.size(), 1u);
  EXPECT_EQ(d->script.opened_events[0]->actions[0].code, kCmdMap);
}

// Shift-JIS text: 0x83 0x5C (a "\" second byte), 0x83 0x41 ("A" second
// byte), half-width katakana 0xB1, and 0x93 0xFA with both bytes high.
constexpr char kJapanese[] = "\x83\x5c\x83\x41\xb1\x93\xfa";
constexpr char kAllHigh[] = "\x93\xfa\x8c\xea\xb1";  // no byte below 128

std::string WithoutHighBytes(std::string_view s) {
  std::string out;
  for (const char c : s) {
    if (static_cast<unsigned char>(c) < 128) out += c;
  }
  return out;
}

TEST(FkissLexerTest, StringsKeepTheirBytesAndTextElsewhereIsSkippedAsBefore) {
  const std::string j = kJapanese;
  // Japanese inside strings, between commands, after them and after the
  // comment mark, in lines that are fine and lines that are not.
  const std::vector<std::string> lines = {
      "press(#1) notify(\"" + j + " " + j + "\") " + j + " map(#1)" + j,
      "release(#1)" + j + "unmap(#2) ; " + j + " map(#3)",
      kAllHigh + std::string(" press(#2) debug(\"") + j + "\") " + j,
      "press(#3) notify(\"" + j,
      "press(#0) map(" + j + "#1)",
      "label(1) map(#1) " + j + " " + j + "(#2) notify(\"" + j + "\", " + j + "x)"};
  // The same lines as the lexer used to see them: strings lost the bytes too.
  std::vector<std::string> stripped;
  for (const std::string& line : lines) stripped.push_back(WithoutHighBytes(line));
  auto with = Parse(lines);
  auto without = Parse(stripped);
  const auto& raw = with->script.raw_commands;
  const auto& old = without->script.raw_commands;
  ASSERT_EQ(raw.size(), old.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    EXPECT_EQ(raw[i].name, old[i].name) << i;
    EXPECT_EQ(raw[i].broken, old[i].broken) << i;
    EXPECT_EQ(WithoutHighBytes(raw[i].text), old[i].text) << i;
    for (int p = 0; p < 3; ++p) {
      EXPECT_EQ(raw[i].params[p].lex_kind, old[i].params[p].lex_kind) << i;
      EXPECT_EQ(WithoutHighBytes(raw[i].params[p].text), old[i].params[p].text) << i;
    }
  }
  EXPECT_EQ(with->doll.report.error_count(), without->doll.report.error_count())
      << with->ReportText();
  EXPECT_EQ(with->doll.report.warning_count(), without->doll.report.warning_count());
  EXPECT_EQ(with->script.action_count, without->script.action_count);
  EXPECT_NE(with->ReportText().find("command \\A map()"), std::string::npos);

  // The texts themselves arrive whole.
  EXPECT_EQ(raw[1].params[0].text, j + " " + j);
  EXPECT_EQ(with->script.opened_events[0]->actions[0].params[0].text, j + " " + j);
  EXPECT_EQ(with->script.opened_events[2]->actions[0].params[0].text, j);
  // Unreadable text is kept as written, to the end of the line.
  EXPECT_EQ(raw[10].text, "notify(\"" + j);
  EXPECT_EQ(raw[3].text, j);
  // A syntax error quotes the line as written.
  EXPECT_TRUE(with->HasError(Msg(kMsgFkissSyntaxError, Line(4), "press(#0) map(" + j + "#1)")))
      << with->ReportText();
}

TEST(FkissInterpretTest, CelNamesInStringsFindTheirCelLinesByTheirBytes) {
  const std::string name = "\x83\x5c\x83\x74\x83\x40.cel";  // Shift-JIS, trail bytes \ t @
  std::string cnf = testing::CnfWithObjects(kObjects) + "#1 " + name + "\n";
  cnf += ";@EventHandler\n";
  cnf += ";@press(\"" + name + "\") unmap(\"" + name + "\")\n";
  ScriptedDoll d(cnf);
  EXPECT_EQ(d.WarningsStartingWith("FKiSS: Cel "), 0) << d.ReportText();
  ASSERT_EQ(d.script.opened_events.size(), 1u);
  const FkissAction& unmap = d.script.opened_events[0]->actions.at(0);
  EXPECT_EQ(unmap.params[0].kind, RK_CEL);
  EXPECT_EQ(unmap.params[0].cel, d.Cel(name));
}

TEST(FkissInterpretTest, NamesExactClosestUnknownAndEmpty) {
  auto d = Parse({"PRESS(#1) movebyxx(#1, #2, 5) frobnicate(#1) (#1) Unmap(#2)"});
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissClosestMatch, "movebyxx", Line(0), "movebyx")));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissNoMatch, "frobnicate", Line(0))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissNoName, Line(0))));
  ASSERT_EQ(d->script.opened_events.size(), 1u);
  const auto& actions = d->script.opened_events[0]->actions;
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0].code, kCmdMovebyx);
  EXPECT_EQ(actions[1].code, kCmdUnmap);
  EXPECT_EQ(d->doll.report.error_count(), 0);
}

TEST(FkissInterpretTest, ParameterChecksSkipTheCommand) {
  auto d = Parse({"press(#1) map(5) nop(1) move(#1) map(#99) map(!nogroup) map(#1)"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissInvalidParamType, 1, "map", Line(0))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissTooManyParams, "nop", Line(0))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissTooFewParams, "move", Line(0))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissObjectNotFound, 99, Line(0))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissGroupNotFound, "nogroup", Line(0))));
  EXPECT_EQ(d->script.action_count, 1);
}

TEST(FkissInterpretTest, ActionBeforeAnyEventIsDropped) {
  auto d = Parse({"map(#1) press(#1) unmap(#1)"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissActionBeforeEvent, "map", Line(0))));
  EXPECT_EQ(d->script.action_count, 1);
}

TEST(FkissInterpretTest, IfBlocksAreOneLevelDeep) {
  auto d = Parse({"press(#1)", "ifequal(1, 1)", "ifequal(2, 2)", "endif()", "else()", "press(#2)",
                  "iflessthan(1, 2)", "release(#2)", "endif()"});
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissIllegalNesting, "ifequal", Line(2))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissNoPrecedingIf, "else", Line(4))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissNoMatchingEndif, "iflessthan", Line(6))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissNoPrecedingIf, "endif", Line(8))));
  // The nested if and endif stay in the list; the stray else and endif do not.
  EXPECT_EQ(d->script.opened_events[0]->actions.size(), 3u);
}

TEST(FkissInterpretTest, BrokenHeadsCollectTheirActionsAndAreCounted) {
  auto d = Parse({"set(10) map(#1) unmap(#1)", "col(11) map(#1)", "version(9) map(#2)",
                  "keypress(\"enter\") map(#3)", "press(\"nothere.cel\") map(#1)",
                  "press(#77) map(#1)", "set(2) map(#0)"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissOutOfRange, "Set", 10, Line(0))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissOutOfRange, "Col", 11, Line(1))));
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissInvalidKey, "Keypress", "enter", Line(3))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissCelNotFound, "nothere.cel", Line(4))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissObjectNotFound, 77, Line(5))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissBrokenEvents, 7)));
  ASSERT_EQ(d->script.opened_events.size(), 1u);
  EXPECT_EQ(d->script.opened_events[0], &d->script.set_events[2]);
}

TEST(FkissInterpretTest, NoMissingCelSilencesOnlyTheWarning) {
  FkissParseOptions quiet;
  quiet.no_missing_cel = true;
  auto d = Parse({"press(\"nothere.cel\") map(#1)"}, quiet);
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: Cel "), 0);
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissBrokenEvents, 1)));
}

TEST(FkissInterpretTest, RepeatedHeadsConcatenateWithOneWarning) {
  auto d = Parse({"press(#1) map(#1)", "release(#1) nop()", "PRESS(#1) unmap(#1)"});
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: More than one event"), 1);
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissDuplicateEvent, "press(#1)")));
  ASSERT_EQ(d->script.opened_events.size(), 2u);
  EXPECT_EQ(d->script.opened_events[0]->actions.size(), 2u);
}

TEST(FkissInterpretTest, TargetsAndDisplayNames) {
  const std::string cels = "#1 shared.cel\n#2 Shared.cel\n#3 once.cel ;!grp\n";
  std::string cnf = testing::CnfWithObjects(kObjects) + cels;
  cnf += ";@EventHandler\n";
  cnf += ";@press(\"SHARED.CEL\") map(\"once.cel\") map(!grp)\n";
  cnf += ";@in(#1, \"once.cel\") keypress(\"Q\") col(3) alarm(4) label(jump) detached(#2)\n";
  ScriptedDoll d(cnf);
  EXPECT_EQ(d.doll.report.error_count(), 0) << d.ReportText();
  EXPECT_EQ(d.doll.report.warning_count(), 2) << d.ReportText();  // alarm(4), label(jump)
  const auto& opened = d.script.opened_events;
  ASSERT_EQ(opened.size(), 7u);
  EXPECT_EQ(opened[0]->display_name, "press(\"shared.cel\")");
  EXPECT_EQ(opened[1]->display_name, "in(#1, \"once.cel\")");
  EXPECT_EQ(opened[2]->display_name, "keypress(\"Q\")");
  EXPECT_EQ(opened[2], &d.script.keypress_events[15 + ('q' - 'a')]);
  EXPECT_EQ(opened[3]->display_name, "col(3)");
  EXPECT_EQ(opened[4]->display_name, "alarm(4)");
  EXPECT_EQ(opened[5]->display_name, "label(jump)");
  EXPECT_EQ(opened[6]->display_name, "detached(#2)");
  const auto& actions = opened[0]->actions;
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0].params[0].kind, RK_CEL);
  ASSERT_NE(actions[0].params[0].cel, nullptr);
  EXPECT_EQ(actions[1].params[0].kind, RK_CELSET);
  EXPECT_EQ(actions[1].params[0].cel_set, d.doll.FindGroup("grp"));
  ASSERT_EQ(d.script.records().size(), 4u);
}

TEST(FkissInterpretTest, WordsResolveToLabelsAlarmsOrVariables) {
  auto d =
      Parse({"label(loop) nop()", "alarm(tick) nop()",
             "press(#1) gosub(loop) timer(tick, 5) timer(other, 5) let(Loop, 3) let(v, loop)"});
  const auto& actions = d->script.opened_events.back()->actions;
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_EQ(actions[0].params[0].kind, RK_LABEL);
  EXPECT_EQ(actions[0].params[0].event, d->script.FindLabel("LOOP"));
  EXPECT_EQ(actions[1].params[0].kind, RK_ALARM);
  EXPECT_EQ(actions[2].params[0].kind, RK_VARIABLE);  // no such alarm: a variable
  EXPECT_EQ(actions[3].params[0].kind, RK_VARIABLE);  // let takes no label
  EXPECT_EQ(actions[4].params[1].kind, RK_VARIABLE);
  EXPECT_EQ(actions[3].params[0].value, actions[4].params[1].value);
  EXPECT_EQ(d->script.variable_names().size(), 3u);
  EXPECT_EQ(d->script.variable_values.size(), 3u);
}

TEST(FkissInterpretTest, PoolValueTextsAndNameRules) {
  const std::string long_name(65, 'x');
  const std::string ok_name(64, 'y');
  auto d = Parse({"press(#1)",
                  "loadvalue(v, \"Scores.best\")",  // pool and id
                  "savevalue(\".best\", 3)",        // private pool
                  "deletevalue(\"best\")",          // current pool
                  "valuepool(\"\")", "valuepool(\"scores\")", "loadvalue(v, \"" + long_name + "\")",
                  "loadvalue(v, \"" + long_name + ".a\")", "loadvalue(v, \"" + ok_name + "\")",
                  "loadvalue(v, \"a.b.c\")", "loadvalue(v, \"p q.a\")", "loadvalue(v, \"p.\")"});
  const auto& actions = d->script.opened_events[0]->actions;
  ASSERT_EQ(actions.size(), 6u);
  EXPECT_EQ(actions[0].params[1].kind, RK_POOLVALUE);
  EXPECT_EQ(actions[0].params[1].value2, 0);
  EXPECT_EQ(d->script.pool_names()[0], "Scores");
  EXPECT_EQ(d->script.value_ids()[actions[0].params[1].value], "best");
  EXPECT_EQ(actions[1].params[0].value2, kPrivatePool);
  EXPECT_EQ(actions[1].params[0].value, actions[0].params[1].value);
  EXPECT_EQ(actions[2].params[0].value2, kPoolNotGiven);
  EXPECT_EQ(actions[3].params[0].kind, RK_POOL);
  EXPECT_EQ(actions[3].params[0].value, kPrivatePool);
  EXPECT_EQ(actions[4].params[0].value, 0);  // same pool, case ignored
  EXPECT_EQ(actions[5].params[1].kind, RK_POOLVALUE);
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissValueIdTooLong, long_name, 64, Line(6))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissPoolNameTooLong, long_name, 64, Line(7))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissValueIdInvalid, "b.c", Line(9))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissPoolNameInvalid, "p q", Line(10))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissValueIdEmpty, Line(11)))) << d->ReportText();
}

TEST(FkissInterpretTest, PrePassRegistersAlarmsLabelsAndFilesWhereverDefined) {
  auto d = Parse({"begin() timer(late, 10) gosub(7) sound(\"Ding.wav\") music(\"\")",
                  "press(#1) sound(\"ding.WAV\") music(\"song.mid\")", "alarm(late) nop()",
                  "label(7) nop()"});
  const auto& begin = d->script.begin_event.actions;
  ASSERT_EQ(begin.size(), 4u);
  EXPECT_EQ(begin[0].params[0].kind, RK_ALARM);
  EXPECT_EQ(begin[2].params[0].kind, RK_FILE);
  EXPECT_EQ(begin[2].params[0].value, 0);
  EXPECT_EQ(begin[3].params[0].value, -1);
  ASSERT_EQ(d->doll.external_files.size(), 2u);
  EXPECT_EQ(d->doll.external_files[0].name, "Ding.wav");
  EXPECT_EQ(d->doll.external_files[1].name, "song.mid");
}

TEST(FkissLexerTest, TheNameRunsUpToTheParenthesisAsWritten) {
  auto d = Parse({"press(#1) map (#1) unmap  (#2)"});
  // "map " is no exact name: the closest match takes it, with its warning.
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissClosestMatch, "map ", Line(0), "map")));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissClosestMatch, "unmap  ", Line(0), "unmap")));
  ASSERT_EQ(d->script.opened_events.size(), 1u);
  const auto& actions = d->script.opened_events[0]->actions;
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0].code, kCmdMap);
  EXPECT_EQ(actions[1].code, kCmdUnmap);
}

TEST(FkissInterpretTest, PrePassRegistersIdsOfAnyTokenKindByNumber) {
  // The heads are refused (an object is no alarm id), but their ids exist:
  // the timer finds its alarm and the label is examined for reachability.
  auto d = Parse({"press(#1) timer(3, 10)", "alarm(#3) nop()", "label(#4) nop()"});
  EXPECT_TRUE(d->HasError(Msg(kMsgFkissInvalidParamType, 1, "alarm", Line(1))));
  EXPECT_NE(d->script.FindAlarm(3u), nullptr);
  EXPECT_NE(d->script.FindLabel(4u), nullptr);
  EXPECT_EQ(d->WarningsStartingWith("FKiSS: timer("), 0) << d->ReportText();
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissLabelNumberUnreachable, 4)));
}

TEST(FkissInterpretTest, APairHeadResolvesBothTargetsForItsWarnings) {
  auto d = Parse({"in(#9, \"nothere.cel\") map(#1)", "collide(!nogroup, #8) map(#1)"});
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissObjectNotFound, 9, Line(0))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissCelNotFound, "nothere.cel", Line(0))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissGroupNotFound, "nogroup", Line(1))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissObjectNotFound, 8, Line(1))));
  EXPECT_TRUE(d->HasWarning(Msg(kMsgFkissBrokenEvents, 2)));
  EXPECT_TRUE(d->script.records().empty());
}

}  // namespace
}  // namespace luma
