#include "model/database/chara_scr_effect.h"

#include <initializer_list>

namespace {

struct sAddedParam {
  int kind;
  int param;
};

// The table's rows are only read for the kinds listed in `added`.
void SetAddedParam(int kind, std::int32_t (&params)[EFFECT_PARAM_COUNT],
                   const cEdParamInfo (*table)[EFFECT_PARAM_COUNT],
                   std::initializer_list<sAddedParam> added) {
  for (const sAddedParam& entry : added) {
    if (entry.kind == kind) params[entry.param] = table[kind][entry.param].m_nDefault;
  }
}

}  // namespace

void cEdCharaEffect::UpgradeBefore511() {
  SetAddedParam(m_nKind, m_anParam, g_CharaEffectParams,
                {{CHARA_EFFECT_WAVE_H, 4}, {CHARA_EFFECT_WAVE_V, 4}, {CHARA_EFFECT_CIRCLE, 3}});
}

void cEdScrEffect::UpgradeBefore511() {
  SetAddedParam(m_nKind, m_anParam, g_ScrEffectParams,
                {{SCR_EFFECT_WAVE_H, 4}, {SCR_EFFECT_WAVE_V, 4}, {SCR_EFFECT_CIRCLE, 3}});
}
