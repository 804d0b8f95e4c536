// The words of the expression language and the tokens they become.
//
// A flat expression is a list of tokens: numbers, operators and variables.
// A variable token carries the value its word read, the storage an
// assignment writes (a typed pointer: its type is the stored width), the
// range an assignment clamps to, and for character variables the actor
// that owns them. Numbers, operators and results of operators have no
// storage. The name tables end with an empty entry.
//
// Names: common and stage variables ("C" or "S" and an index), the
// character variables of an actor (v1..v8, hp, sp, mhp, msp, cid, z, mark,
// sight, power, imp, def, impd, stop, getsc), the system variables (time,
// scrlx, scrly, score, life), the object prefixes (my, tg, pl, sys), the
// operators and the function rand. Names compare exactly.
#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

class cActor;

enum eExprTokenKind { TOKEN_NUMBER, TOKEN_VARIABLE, TOKEN_CHARA_VAR, TOKEN_SYS_VAR, TOKEN_OPERATOR };
enum eExprOp { OP_ASSIGN, OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD };
enum eExprObject { OBJECT_MY, OBJECT_TG, OBJECT_PL, OBJECT_SYS };
enum eExprCharaVar {
  CHARA_VAR_V1,  // to v8 at 7
  CHARA_VAR_HP = 8,
  CHARA_VAR_SP,
  CHARA_VAR_MHP,
  CHARA_VAR_MSP,
  CHARA_VAR_CID,
  CHARA_VAR_Z,
  CHARA_VAR_MARK,
  CHARA_VAR_SIGHT,
  CHARA_VAR_POWER,
  CHARA_VAR_IMP,
  CHARA_VAR_DEF,
  CHARA_VAR_IMPD,
  CHARA_VAR_STOP,
  CHARA_VAR_GETSC,
};
enum eExprSysVar { SYS_VAR_TIME, SYS_VAR_SCRLX, SYS_VAR_SCRLY, SYS_VAR_SCORE, SYS_VAR_LIFE };

extern const char* const g_astrExprFunc[];
extern const char* const g_astrExprOp[];
extern const char* const g_astrExprObject[];
extern const char* const g_astrExprVarPrefix[];
extern const char* const g_astrExprCharaVar[];
extern const char* const g_astrExprSysVar[];

// The entry of a name table equal to word, or -1.
int FindExprName(const char* const table[], std::string_view word);
// "*", "/", "%" 0; "+", "-" 1; "=" 2.
int ExprPrecedence(int nOp);

using ExprStorage = std::variant<std::monostate, std::int32_t*, std::int16_t*, std::int8_t*, std::uint8_t*>;

constexpr int kExprValueMax = 999999;

struct EXPRTOKEN {
  std::int32_t m_nKind = TOKEN_NUMBER;
  std::int32_t m_nValue = 0;
  ExprStorage m_pTarget;
  std::int32_t m_nMin = -kExprValueMax;
  std::int32_t m_nMax = kExprValueMax;
  std::int32_t m_nOp = OP_ASSIGN;
  std::int32_t m_nCharaVar = 0;
  std::int32_t m_nSysVar = 0;
  cActor* m_pOwner = nullptr;

  bool HasStorage() const { return !std::holds_alternative<std::monostate>(m_pTarget); }
  // Stores value clamped to the range with the storage's width and returns
  // what was stored; a token without storage keeps its value and returns it.
  int Assign(int value) const;
};

EXPRTOKEN NumberToken(int value);
EXPRTOKEN OperatorToken(int nOp);
// Common (bStage false) or stage variable nIndex; false after a bad index,
// which the checked access reports.
bool VariableToken(bool bStage, int nIndex, EXPRTOKEN& token);
// Character variable nVar of owner, its ranges of hp and sp as they are now.
EXPRTOKEN CharaVarToken(cActor& owner, int nVar);
EXPRTOKEN SysVarToken(int nVar);
