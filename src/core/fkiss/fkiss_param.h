#ifndef LUMA_CORE_FKISS_FKISS_PARAM_H_
#define LUMA_CORE_FKISS_FKISS_PARAM_H_

#include <cstdint>
#include <string>

namespace luma {

struct KissObject;
struct CelInstance;
struct CelSet;
struct FkissEvent;

// What the lexer saw in a parameter position.
enum TokenKind : int32_t {
  TK_NONE = 0,    // slot empty
  TK_NUMBER = 1,  // optional '-' and digits
  TK_OBJECT = 2,  // '#' and digits
  TK_STRING = 3,  // text between double quotes
  TK_GROUP = 4,   // '!' and a word
  TK_WORD = 5,    // a letter, then letters, digits or '_'
};

// What a parameter stands for once the script is interpreted.
enum ResolvedKind : int32_t {
  RK_NONE = 0,
  RK_OBJECT = 1,
  RK_CEL = 2,
  RK_TEXT = 3,
  RK_NUMBER = 4,
  RK_CELSET = 5,
  RK_LABEL = 6,
  RK_ALARM = 7,
  RK_VARIABLE = 8,
  RK_FILE = 9,
  RK_POOL = 10,
  RK_POOLVALUE = 11,
};

// Pool index of a pool value that named no pool, so the current pool applies.
inline constexpr int32_t kPoolNotGiven = -2;
// Pool index of the doll's private pool.
inline constexpr int32_t kPrivatePool = -1;

// One parameter slot. Every lexed command and every action has three.
struct FkissParam {
  int32_t lex_kind = TK_NONE;
  int32_t kind = RK_NONE;
  // Number, object number, variable index, file index, value-id index or key code.
  int32_t value = 0;
  // Pool index of RK_POOLVALUE.
  int32_t value2 = kPoolNotGiven;
  std::string text;
  // The resolved target; which one is set follows `kind`. Not owned.
  KissObject* object = nullptr;
  CelInstance* cel = nullptr;
  CelSet* cel_set = nullptr;
  FkissEvent* event = nullptr;

  bool empty() const { return lex_kind == TK_NONE; }
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_FKISS_PARAM_H_
