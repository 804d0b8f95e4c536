#include "model/settings/project_context.h"

#include "model/definitions/block.h"
#include "model/definitions/chara.h"
#include "model/definitions/item.h"
#include "model/stage/palette_lookup.h"

namespace {

template <class T>
std::optional<std::size_t> SizeOf(const std::vector<T>* list) {
  if (list == nullptr) return std::nullopt;
  return list->size();
}

}  // namespace

cProjectContext::cProjectContext() : cProjectContext(g_Database, g_SystemData) {}

cProjectContext::cProjectContext(const cDatabase& database, const cSystemData& settings)
    : m_Database(database), m_Settings(settings) {}

std::optional<std::size_t> cProjectContext::DatabaseListSize(eDatabaseList list) const {
  switch (list) {
    case eDatabaseList::Anime: return m_Database.m_vAnime.size();
    case eDatabaseList::AnimeSet: return m_Database.m_vAnimeSet.size();
    case eDatabaseList::CharaImage: return m_Database.m_vBmpCharaExc.size();
    case eDatabaseList::SwordType: return m_Database.m_vSwordType.size();
    case eDatabaseList::Effect: return m_Database.m_vEffect.size();
    case eDatabaseList::CharaEffect: return m_Database.m_vCharaEffect.size();
    case eDatabaseList::ScrEffect: return m_Database.m_vScrEffect.size();
    case eDatabaseList::Picture: return m_Database.m_vPicture.size();
    case eDatabaseList::Sound: return m_Database.m_vSound.size();
    case eDatabaseList::Bgm: return m_Database.m_vBgm.size();
  }
  return std::nullopt;
}

std::vector<std::int32_t> cProjectContext::SwordFrameDurations(std::size_t swordType) const {
  std::vector<std::int32_t> durations;
  if (swordType >= m_Database.m_vSwordType.size()) return durations;
  for (const cEdSwordFrame& frame : m_Database.m_vSwordType[swordType].m_vFrames) durations.push_back(frame.m_nDuration);
  return durations;
}

std::optional<std::size_t> cProjectContext::PaletteListSize(ePaletteSource source, ePaletteList list) const {
  const int nSource = source == ePaletteSource::Common ? PALETTE_COMMON : PALETTE_STAGE;
  switch (list) {
    case ePaletteList::Block: return SizeOf(PaletteLists().Blocks(nSource));
    case ePaletteList::Chara: return SizeOf(PaletteLists().Charas(nSource));
    case ePaletteList::Item: return SizeOf(PaletteLists().Items(nSource));
  }
  return std::nullopt;
}

bool cProjectContext::KeepTestFlows() const { return m_Settings.m_bKeepTestFlows != 0; }
