// Character effects (CharaEffect.dat) and screen effects (ScrEffect.dat) of
// the database: a kind (model/database/effect_kinds.h; 0 = none) and its five
// parameters. Parameter 0 is the run time in tenths of a second; 1 and 2 are
// the start and end values of the kinds that move a value; 3 and 4 the kind's
// extras. Both records have the same layout; entry 0 of either list has kind
// 0 after loading.
//
// Files older than version 511 did not store the coarseness of the wave and
// circle kinds: it loads as the default of the kind's parameter table.
#pragma once

#include <cstdint>
#include <string>

#include "model/database/effect_kinds.h"
#include "model/record/record.h"

template <class Derived>
class cEdEffectDef : public cEdRecordOf<Derived> {
 public:
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;

  std::string m_strName;
  std::int32_t m_nKind = 1;
  std::int32_t m_anParam[EFFECT_PARAM_COUNT] = {};
};

class cEdCharaEffect : public cEdEffectDef<cEdCharaEffect> {
 public:
  // Sets the parameter that files before version 511 lacked.
  void UpgradeBefore511();
};

class cEdScrEffect : public cEdEffectDef<cEdScrEffect> {
 public:
  void UpgradeBefore511();
};

template <class Derived>
void cEdEffectDef<Derived>::DeclareFields(int /*nVersion*/) {
  this->ClearTables();
  this->AddString(m_strName, "m_strName");
  this->AddField(m_nKind, 1, "m_nKind");
  this->AddField(m_anParam, EFFECT_PARAM_COUNT, "m_anParam");
}

template <class Derived>
bool cEdEffectDef<Derived>::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (g_nFileVersion < 511) static_cast<Derived*>(this)->UpgradeBefore511();
  return true;
}
