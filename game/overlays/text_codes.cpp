#include "game/overlays/text_codes.h"

#include <cstdlib>
#include <vector>

#include "base/checked_access.h"
#include "base/strings.h"
#include "game/stage/stage_play.h"
#include "model/user/save_data.h"

namespace {

constexpr int kLastVariable = 255;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct sTextCode {
  std::string digits;
  bool bCommon = false;
  bool bStage = false;
  int nWidth = 0;
  bool bPlus = false;
  bool bZeros = false;
  std::size_t nEnd = 0;  // one past the code's last byte
};

// Reads the code whose "#" is at `at`.
sTextCode ReadCode(const std::string& text, std::size_t at) {
  sTextCode code;
  bool bOptions = false;
  std::size_t i = at + 1;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDoubleByteChar(text.c_str() + i)) break;
    if (!bOptions) {
      if (IsDigit(c)) {
        code.digits += c;
      } else if (c == 'C' || c == 'c') {
        code.bCommon = true;
      } else if (c == 'S' || c == 's') {
        code.bStage = true;
      } else if (c == '_') {
        bOptions = true;
      } else {
        break;
      }
    } else if (IsDigit(c)) {
      code.nWidth = c - '0';
    } else if (c == 'P' || c == 'p') {
      code.bPlus = true;
    } else if (c == 'Z' || c == 'z') {
      code.bZeros = true;
    } else {
      break;
    }
  }
  if (i < text.size() && text[i] == '.') ++i;
  code.nEnd = i;
  return code;
}

std::string FormatValue(long long value, int nWidth, bool bPlus, bool bZeros) {
  std::string digits = std::to_string(std::llabs(value));
  if (static_cast<int>(digits.size()) < nWidth) digits.insert(0, static_cast<std::size_t>(nWidth) - digits.size(), '0');
  if (!bZeros) {
    for (std::size_t k = 0; k + 1 < digits.size() && digits[k] == '0'; ++k) digits[k] = ' ';
  }
  if (value < 0) return "-" + digits;
  if (bPlus) return "+" + digits;
  return digits;
}

// The variable a code names; null when the code stays as it is.
std::vector<std::int32_t>* VariablesOf(const sTextCode& code) {
  if (code.bCommon) return &g_SaveData.m_vVariables;
  if (code.bStage && g_pStageScene) return &g_pStageScene->m_vStageVar;
  return nullptr;
}

}  // namespace

void ExpandTextCodes(std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsDoubleByteChar(text.c_str() + i)) {
      i += 2;
      continue;
    }
    if (text[i] != '#') {
      ++i;
      continue;
    }
    const sTextCode code = ReadCode(text, i);
    const int n = AtoiSaturated(code.digits.c_str());
    std::vector<std::int32_t>* variables = VariablesOf(code);
    if (!variables || variables->empty() || n < 1 || n > kLastVariable) {
      i = code.nEnd;
      continue;
    }
    const std::string value = FormatValue(CheckedAt(*variables, n), code.nWidth, code.bPlus, code.bZeros);
    text.replace(i, code.nEnd - i, value);
    i += value.size();
  }
}
