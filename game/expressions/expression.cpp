#include "game/expressions/expression.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "base/checked_access.h"
#include "base/random.h"
#include "base/report.h"
#include "base/strings.h"
#include "game/core/numeric.h"
#include "game/expressions/expression_token.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/stage/stage.h"

int g_bExprError = 0;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int Fail() {
  g_bExprError = 1;
  return 0;
}

// The ")" that closes the "(" at open, or npos.
std::size_t MatchingParenthesis(const std::string& text, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i;
  }
  return std::string::npos;
}

// The arguments of a call between its parentheses: split at commas outside
// nested parentheses, each non-empty one evaluated; empty ones are dropped.
std::vector<int> EvalArguments(std::string_view inside, cActor* pActor) {
  std::vector<int> args;
  std::string gathered;
  int depth = 0;
  for (std::size_t i = 0; i <= inside.size(); ++i) {
    const char c = i < inside.size() ? inside[i] : ')';
    if (depth == 0 && (c == ',' || c == ')')) {
      if (!gathered.empty()) args.push_back(EvalExpression(gathered, pActor));
      gathered.clear();
      continue;
    }
    if (c == '(') ++depth;
    if (c == ')') --depth;
    gathered += c;
  }
  return args;
}

// Reads one word of a flat text; false when the evaluation must stop.
bool ReadToken(const std::string& word, int nObject, cActor* pActor, EXPRTOKEN& token) {
  if (const int op = FindExprName(g_astrExprOp, word); op >= 0) {
    token = OperatorToken(op);
    return true;
  }
  cActor* pObject = pActor;
  if (nObject == OBJECT_TG) pObject = pActor ? pActor->m_pTarget : nullptr;
  if (nObject == OBJECT_PL) pObject = g_pStageScene->m_pHero;
  if (nObject == OBJECT_SYS) pObject = nullptr;
  if (!pObject && (nObject == OBJECT_TG || nObject == OBJECT_PL)) return false;
  if (word[0] == 'C' || word[0] == 'S') {
    return VariableToken(word[0] == 'S', AtoiSaturated(word.c_str() + 1), token);
  }
  if (const int var = FindExprName(g_astrExprCharaVar, word); var >= 0) {
    if (!pObject) return false;
    token = CharaVarToken(*pObject, var);
    return true;
  }
  if (const int var = FindExprName(g_astrExprSysVar, word); var >= 0) {
    token = SysVarToken(var);
    return true;
  }
  token = NumberToken(AtoiSaturated(word.c_str()));
  return true;
}

void ApplyAssignmentEffects(const EXPRTOKEN& target, cActor* pActor, int value) {
  if (target.m_nKind == TOKEN_SYS_VAR) {
    if (target.m_nSysVar == SYS_VAR_SCRLX) {
      g_pStageScene->m_ScrollX.SetAutoScroll(g_LoadedStage.m_bAutoScrollX, value, g_LoadedStage.m_dSubSteps);
    }
    if (target.m_nSysVar == SYS_VAR_SCRLY) {
      g_pStageScene->m_ScrollY.SetAutoScroll(g_LoadedStage.m_bAutoScrollY, value, g_LoadedStage.m_dSubSteps);
    }
    return;
  }
  if (target.m_nKind != TOKEN_CHARA_VAR) return;
  cActor& owner = *target.m_pOwner;
  switch (target.m_nCharaVar) {
    case CHARA_VAR_HP:
      if (&owner != pActor && owner.m_nHp < 1) g_pStageScene->m_bCheckDeaths = 1;
      break;
    case CHARA_VAR_MHP: ClampInPlace(owner.m_nHp, 1, owner.m_Chara.m_nMaxHP); break;
    case CHARA_VAR_MSP: ClampInPlace(owner.m_nSp, 1, owner.m_Chara.m_nMaxSP); break;
    case CHARA_VAR_SIGHT:
      if (owner.m_nControl == 0) {
        owner.m_nSight = cActor::HblToPixels(value);
        g_pStageScene->RebuildSightMask();
      }
      break;
    default: break;
  }
}

// left op right; false after a division by zero.
bool Apply(const EXPRTOKEN& left, int nOp, const EXPRTOKEN& right, const std::string& text, cActor* pActor,
           int& result) {
  const int a = left.m_nValue;
  const int b = right.m_nValue;
  switch (nOp) {
    case OP_ADD: result = WrapAdd32(a, b); return true;
    case OP_SUB: result = WrapSub32(a, b); return true;
    case OP_MUL: result = WrapMul32(a, b); return true;
    case OP_DIV:
    case OP_MOD:
      if (b == 0) {
        ErrorBoxF("0除算が行われました！(%s)", text.c_str());
        return false;
      }
      // In 64 bits, so that INT_MIN / -1 wraps to INT_MIN instead of trapping.
      result = static_cast<std::int32_t>(static_cast<std::uint32_t>(
          nOp == OP_DIV ? static_cast<std::int64_t>(a) / b : static_cast<std::int64_t>(a) % b));
      return true;
    default:
      result = left.Assign(b);
      if (left.HasStorage()) ApplyAssignmentEffects(left, pActor, result);
      return true;
  }
}

}  // namespace

std::size_t SyncStringLength(std::string& text) {
  text.resize(std::strlen(text.c_str()));
  return text.size();
}

int RunCodeText(const std::string& strText, cActor* pActor) {
  g_bExprError = 0;
  std::string text = strText;
  if (SyncStringLength(text) >= kCodeTextBuffer) text.resize(kCodeTextBuffer - 1);
  const int nHp = pActor ? pActor->m_nHp : 0;
  const int nSp = pActor ? pActor->m_nSp : 0;
  EvalExpression(text, pActor);
  if (g_bExprError) return 0;
  if (pActor && pActor->m_nHp != nHp) pActor->ShowHpGauge(WrapSub32(pActor->m_nHp, nHp));
  if (pActor && pActor->m_nSp != nSp) pActor->ShowSpGauge(WrapSub32(pActor->m_nSp, nSp));
  return 1;
}

int EvalExpression(std::string text, cActor* pActor) {
  std::size_t w = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (IsBlank(c)) {
      w = ++i;
      continue;
    }
    if (c != '(') {
      ++i;
      continue;
    }
    const std::size_t close = MatchingParenthesis(text, i);
    if (close == std::string::npos) {
      ErrorBoxF("\")\"が見つかりません！");
      return Fail();
    }
    int value = 0;
    if (i == w) {
      value = EvalExpression(text.substr(i + 1, close - i - 1), pActor);
    } else {
      const std::string name = text.substr(w, i - w);
      if (FindExprName(g_astrExprFunc, name) < 0) {
        ++i;  // not a function: the parentheses stay part of the word
        continue;
      }
      const std::vector<int> args = EvalArguments(std::string_view(text).substr(i + 1, close - i - 1), pActor);
      if (args.size() != 2) {
        ErrorBoxF("関数 %s の引数が不正です！", name.c_str());
        return Fail();
      }
      // Bounds in either order.
      value = RandomBetween(std::min(args[0], args[1]), std::max(args[0], args[1]));
    }
    text = text.substr(0, w) + std::to_string(value) + text.substr(close + 1);
    i = w;
  }
  return EvalFlatExpression(text, pActor);
}

int EvalFlatExpression(const std::string& text, cActor* pActor) {
  std::vector<EXPRTOKEN> tokens;
  int nLast = 0;
  int nObject = OBJECT_MY;
  bool bPrefixSeen = false;
  std::string word;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (c == '.') {
      const int object = FindExprName(g_astrExprObject, word);
      if (object >= 0) {
        nObject = object;
      } else if (!bPrefixSeen) {
        ErrorBoxF("オブジェクト \"%s.\" が認識できません！", word.c_str());
        return Fail();
      }
      bPrefixSeen = true;
      word.clear();
      continue;
    }
    if (!IsBlank(c)) {
      word += c;
      continue;
    }
    if (word.empty()) continue;
    EXPRTOKEN token;
    if (!ReadToken(word, nObject, pActor, token)) return Fail();
    tokens.push_back(token);
    nLast = token.m_nValue;
    nObject = OBJECT_MY;
    word.clear();
  }

  for (int precedence = 0; precedence <= 2; ++precedence) {
    const auto isOfPass = [precedence](const EXPRTOKEN& token) {
      return token.m_nKind == TOKEN_OPERATOR && ExprPrecedence(token.m_nOp) == precedence;
    };
    for (auto op = std::find_if(tokens.begin(), tokens.end(), isOfPass); op != tokens.end();
         op = std::find_if(tokens.begin(), tokens.end(), isOfPass)) {
      if (op == tokens.begin() || op + 1 == tokens.end()) {
        const auto missing = op == tokens.begin() ? -1 : op + 1 - tokens.begin();
        ReportBadIndex("V", static_cast<int>(missing), tokens.size(), sizeof(EXPRTOKEN));
        return Fail();
      }
      int result = 0;
      if (!Apply(op[-1], op->m_nOp, op[1], text, pActor, result)) return Fail();
      op[-1] = NumberToken(result);
      tokens.erase(op, op + 2);
      nLast = result;
    }
  }
  return nLast;
}
