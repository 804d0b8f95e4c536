#include "game/expressions/expression_token.h"

#include <type_traits>

#include "base/checked_access.h"
#include "game/core/numeric.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/stage/stage.h"
#include "model/user/save_data.h"

const char* const g_astrExprFunc[] = {"rand", ""};
const char* const g_astrExprOp[] = {"=", "+", "-", "*", "/", "%", ""};
const char* const g_astrExprObject[] = {"my", "tg", "pl", "sys", ""};
const char* const g_astrExprVarPrefix[] = {"C", "S", ""};
const char* const g_astrExprCharaVar[] = {"v1",  "v2",    "v3",  "v4",  "v5",    "v6",  "v7",   "v8",
                                          "hp",  "sp",    "mhp", "msp", "cid",   "z",   "mark", "sight",
                                          "power", "imp", "def", "impd", "stop", "getsc", ""};
const char* const g_astrExprSysVar[] = {"time", "scrlx", "scrly", "score", "life", ""};

namespace {

struct sRange {
  int nMin, nMax;
};

// By eExprCharaVar; hp and sp take their maximum from the owner.
constexpr sRange kCharaVarRange[] = {
    {-kExprValueMax, kExprValueMax}, {-kExprValueMax, kExprValueMax}, {-kExprValueMax, kExprValueMax},
    {-kExprValueMax, kExprValueMax}, {-kExprValueMax, kExprValueMax}, {-kExprValueMax, kExprValueMax},
    {-kExprValueMax, kExprValueMax}, {-kExprValueMax, kExprValueMax}, {0, 0},
    {0, 0},                          {1, kExprValueMax},              {1, kExprValueMax},
    {0, 99},                         {0, 7},                          {0, 119},
    {0, 40},                         {-kExprValueMax, kExprValueMax}, {-20, 20},
    {0, kExprValueMax},              {0, 20},                         {0, 200},
    {-kExprValueMax, kExprValueMax}};

ExprStorage CharaVarStorage(cActor& owner, int nVar) {
  cEdChara& chara = owner.m_Chara;
  switch (nVar) {
    case CHARA_VAR_HP: return &owner.m_nHp;
    case CHARA_VAR_SP: return &owner.m_nSp;
    case CHARA_VAR_MHP: return &chara.m_nMaxHP;
    case CHARA_VAR_MSP: return &chara.m_nMaxSP;
    // The character id is a signed byte to the language.
    case CHARA_VAR_CID: return reinterpret_cast<std::int8_t*>(&chara.m_nCharaId);
    case CHARA_VAR_Z: return &chara.m_nLayer;
    case CHARA_VAR_MARK: return &chara.m_nOverlayCell;
    case CHARA_VAR_SIGHT: return &chara.m_nSight;
    case CHARA_VAR_POWER: return &chara.m_nPower;
    case CHARA_VAR_IMP: return &chara.m_nImpact;
    case CHARA_VAR_DEF: return &chara.m_nDefense;
    case CHARA_VAR_IMPD: return &chara.m_nImpactResist;
    case CHARA_VAR_STOP: return &chara.m_nStop;
    case CHARA_VAR_GETSC: return &chara.m_nScore;
    default: return &CheckedAt(owner.m_vVars, nVar - CHARA_VAR_V1 + 1);
  }
}

int Read(const ExprStorage& storage) {
  return std::visit(
      [](const auto& p) -> int {
        if constexpr (std::is_pointer_v<std::decay_t<decltype(p)>>) {
          return *p;
        } else {
          return 0;
        }
      },
      storage);
}

}  // namespace

int FindExprName(const char* const table[], std::string_view word) {
  for (int i = 0; table[i][0] != '\0'; ++i) {
    if (word == table[i]) return i;
  }
  return -1;
}

int ExprPrecedence(int nOp) {
  switch (nOp) {
    case OP_ASSIGN: return 2;
    case OP_ADD:
    case OP_SUB: return 1;
    default: return 0;
  }
}

int EXPRTOKEN::Assign(int value) const {
  if (!HasStorage()) return m_nValue;
  ClampInPlace(value, m_nMin, m_nMax);
  std::visit(
      [value](const auto& p) {
        if constexpr (std::is_pointer_v<std::decay_t<decltype(p)>>) {
          *p = static_cast<std::remove_pointer_t<std::decay_t<decltype(p)>>>(value);
        }
      },
      m_pTarget);
  return Read(m_pTarget);
}

EXPRTOKEN NumberToken(int value) {
  EXPRTOKEN token;
  token.m_nValue = value;
  return token;
}

EXPRTOKEN OperatorToken(int nOp) {
  EXPRTOKEN token;
  token.m_nKind = TOKEN_OPERATOR;
  token.m_nOp = nOp;
  return token;
}

bool VariableToken(bool bStage, int nIndex, EXPRTOKEN& token) {
  std::vector<std::int32_t>& variables = bStage ? g_pStageScene->m_vStageVar : g_SaveData.m_vVariables;
  if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= variables.size()) {
    ReportBadIndex("V", nIndex, variables.size(), sizeof(std::int32_t));
    return false;
  }
  token = NumberToken(variables[static_cast<std::size_t>(nIndex)]);
  token.m_nKind = TOKEN_VARIABLE;
  token.m_pTarget = &variables[static_cast<std::size_t>(nIndex)];
  return true;
}

EXPRTOKEN CharaVarToken(cActor& owner, int nVar) {
  EXPRTOKEN token;
  token.m_nKind = TOKEN_CHARA_VAR;
  token.m_nCharaVar = nVar;
  token.m_pOwner = &owner;
  token.m_pTarget = CharaVarStorage(owner, nVar);
  token.m_nValue = Read(token.m_pTarget);
  token.m_nMin = kCharaVarRange[nVar].nMin;
  token.m_nMax = kCharaVarRange[nVar].nMax;
  if (nVar == CHARA_VAR_HP) token.m_nMax = owner.m_Chara.m_nMaxHP;
  if (nVar == CHARA_VAR_SP) token.m_nMax = owner.m_Chara.m_nMaxSP;
  return token;
}

EXPRTOKEN SysVarToken(int nVar) {
  EXPRTOKEN token;
  token.m_nKind = TOKEN_SYS_VAR;
  token.m_nSysVar = nVar;
  switch (nVar) {
    case SYS_VAR_TIME:
      token.m_pTarget = &g_pStageScene->m_nTimeLeft;
      token.m_nMin = 0;
      token.m_nMax = 999;
      break;
    case SYS_VAR_SCRLX:
    case SYS_VAR_SCRLY:
      token.m_pTarget = nVar == SYS_VAR_SCRLX ? &g_LoadedStage.m_nAutoScrollSpeedX : &g_LoadedStage.m_nAutoScrollSpeedY;
      token.m_nMin = -480;
      token.m_nMax = 480;
      break;
    case SYS_VAR_SCORE:
      token.m_pTarget = &g_SaveData.m_nScore;
      token.m_nMin = 0;
      break;
    default:  // life: unlimited lives read 0 and stay unlimited
      token.m_pTarget = &g_SaveData.m_nLives;
      token.m_nMin = 0;
      token.m_nMax = 99;
      if (g_SaveData.m_nLives == UNLIMITED_LIVES) {
        token.m_nMin = token.m_nMax = UNLIMITED_LIVES;
        token.m_nValue = 0;
        return token;
      }
      break;
  }
  token.m_nValue = Read(token.m_pTarget);
  return token;
}
