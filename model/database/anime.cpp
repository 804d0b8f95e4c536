#include "model/database/anime.h"

#include "base/checked_access.h"

namespace {

const char* const kSlotNames[ANIME_SLOT_COUNT] = {"立ち", "立ち移動", "飛行", "飛行移動"};

}  // namespace

void cEdAnimeFrame::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nImage);
  ED_FIELD(m_nDuration);
  ED_FIELD(m_bHold);
}

cEdAnime::cEdAnime() : m_vFrames(1) {}

void cEdAnime::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  if (nVersion >= 55) {
    ED_FIELD(m_nExtraA);
    ED_FIELD(m_bExtraB);
    ED_FIELD(m_nExtraC);
  }
}

bool cEdAnime::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  return LoadRecordList(f, m_vFrames);
}

void cEdAnime::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vFrames);
}

void cEdAnime::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vFrames", m_vFrames); }

cEdAnimeSet::cEdAnimeSet() {
  SetSlotCount(ANIME_SLOT_COUNT);
  for (int slot = 0; slot < ANIME_SLOT_COUNT; ++slot) NameSlot(slot);
}

void cEdAnimeSet::DeclareFields(int nVersion) {
  ClearTables();
  ED_STRING(m_strName);
  ED_FIELD(m_nInvincibleOffset);
  ED_FIELD(m_nBlockOffset);
  if (nVersion >= 119) ED_FIELD(m_nFlyingOffset);
}

void cEdAnimeSet::SetSlotCount(std::size_t count) { m_vSlots.resize(count, cEdAnime()); }

void cEdAnimeSet::NameSlot(int slot) { CheckedAt(m_vSlots, slot).m_strName = kSlotNames[slot]; }

void cEdAnimeSet::PadSlots() {
  for (int slot = static_cast<int>(m_vSlots.size()); slot < ANIME_SLOT_COUNT; ++slot) {
    m_vSlots.emplace_back();
    NameSlot(slot);
  }
}

bool cEdAnimeSet::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!LoadRecordList(f, m_vSlots)) return false;
  if (g_nFileVersion < 119) SetSlotCount(ANIME_SLOT_COUNT);
  if (g_nFileVersion < 128) {
    SetSlotCount(ANIME_SLOT_COUNT);
    NameSlot(ANIME_SLOT_FLY);
    NameSlot(ANIME_SLOT_FLY_MOVE);
  }
  // Newer files keep their slot count, but every actor plays slots 0 to 3:
  // a set stored with fewer gets named default slots for the missing ones.
  PadSlots();
  return true;
}

void cEdAnimeSet::Save(cDataWriter& f) {
  cEdRecord::Save(f);
  SaveRecordList(f, m_vSlots);
}

void cEdAnimeSet::VisitTail(cRecordVisitor& v) { VisitRecordList(v, "m_vSlots", m_vSlots); }
