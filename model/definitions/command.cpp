#include "model/definitions/command.h"

#include <algorithm>
#include <limits>

#include "model/definitions/definition_context.h"
#include "model/definitions/item_command.h"

namespace {

// Commands hold flows whose commands hold flows again. The editor nests them
// two commands deep at most (an item's change-flow command and the commands
// of its flows); a file nested deeper than this is damaged, and reading it on
// would run the reader out of stack.
constexpr int kMaxCommandNesting = 8;
thread_local int t_nCommandNesting = 0;

// Counts the commands being read on this thread for as long as it lives.
class cCommandNesting {
 public:
  cCommandNesting() { ++t_nCommandNesting; }
  ~cCommandNesting() { --t_nCommandNesting; }
  cCommandNesting(const cCommandNesting&) = delete;
  cCommandNesting& operator=(const cCommandNesting&) = delete;
};

// The index that a play or palette command falls back to: entry 1, or entry
// 0 when the list does not even hold entry 1.
std::int32_t FallbackIndex(std::optional<std::size_t> size) { return IndexOutOfRange(1, size) ? 0 : 1; }

// The database list that p[0] of a play command of this set and kind names.
std::optional<eDatabaseList> PlayedList(bool itemSet, int kind) {
  switch (itemSet ? kind : -1) {
    case ICMD_PLAY_ANIME: return eDatabaseList::Anime;
    case ICMD_PLAY_EFFECT: return eDatabaseList::Effect;
    case ICMD_PLAY_CHARA_EFFECT: return eDatabaseList::CharaEffect;
    case ICMD_PLAY_SCREEN_EFFECT: return eDatabaseList::ScrEffect;
    case ICMD_SHOW_PICTURE: return eDatabaseList::Picture;
    case ICMD_PLAY_SOUND: return eDatabaseList::Sound;
    case ICMD_PLAY_BGM: return eDatabaseList::Bgm;
    default: break;
  }
  switch (itemSet ? -1 : kind) {
    case CMD_PLAY_ANIME: return eDatabaseList::Anime;
    case CMD_PLAY_EFFECT: return eDatabaseList::Effect;
    case CMD_PLAY_CHARA_EFFECT: return eDatabaseList::CharaEffect;
    case CMD_PLAY_SCREEN_EFFECT: return eDatabaseList::ScrEffect;
    case CMD_SHOW_PICTURE: return eDatabaseList::Picture;
    case CMD_PLAY_SOUND: return eDatabaseList::Sound;
    case CMD_PLAY_BGM: return eDatabaseList::Bgm;
    default: return std::nullopt;
  }
}

// A get-item reference: palette p[0] (0 common, 1 stage), index p[1].
void ValidateGetItem(std::vector<std::int32_t>& p) {
  if (p.size() < 2 || (p[0] != 0 && p[0] != 1)) return;
  const auto size = DefinitionContext().PaletteListSize(p[0] == 0 ? ePaletteSource::Common : ePaletteSource::Stage,
                                                        ePaletteList::Item);
  if (IndexOutOfRange(p[1], size)) p[1] = FallbackIndex(size);
}

}  // namespace

cEdCommand::cEdCommand() { Reset(); }

cEdCommand::cEdCommand(const cEdCommand& src) : cEdRecordOf(src) { CopyMembers(src); }

cEdCommand::cEdCommand(cEdCommand&& src) noexcept = default;

cEdCommand& cEdCommand::operator=(const cEdCommand& src) {
  if (this != &src) {
    cEdRecordOf::operator=(src);
    CopyMembers(src);
  }
  return *this;
}

cEdCommand& cEdCommand::operator=(cEdCommand&& src) noexcept = default;

cEdCommand::~cEdCommand() = default;

void cEdCommand::CopyMembers(const cEdCommand& src) {
  m_nSet = src.m_nSet;
  m_nKind = src.m_nKind;
  m_vParam = src.m_vParam;
  m_strText = src.m_strText;
  CopyMove(m_pMove, src.m_pMove);
  CopyShotRecord(m_pShot, src.m_pShot);
  m_nTime = src.m_nTime;
  m_nTimeCoef = src.m_nTimeCoef;
  m_bNoWait = src.m_bNoWait;
  m_nSound = src.m_nSound;
  m_bSoundOnScreen = src.m_bSoundOnScreen;
  m_nAnime = src.m_nAnime;
  m_vFlow = src.m_vFlow;
}

void cEdCommand::Reset() {
  Clear();
  m_pMove.reset();
  m_pShot.reset();
  m_bSoundOnScreen = 1;
}

void cEdCommand::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nSet);
  ED_FIELD(m_nKind);
  ED_FIELD(m_nTime);
  ED_FIELD(m_nTimeCoef);
  ED_FIELD(m_bNoWait);
  ED_FIELD(m_nSound);
  ED_FIELD(m_bSoundOnScreen);
  ED_FIELD(m_nAnime);
  ED_STRING(m_strText);
}

bool cEdCommand::Load(cDataReader& f) {
  if (t_nCommandNesting >= kMaxCommandNesting) return f.Fail("commands nested too deeply");
  const cCommandNesting nesting;
  if (!cEdRecord::Load(f)) return false;

  std::uint32_t flag = 0;
  if (!f.ReadU32(flag)) return false;
  m_pMove.reset();
  if (flag != 0) {
    NewMove(m_pMove);
    if (!m_pMove->Load(f)) return false;
  }
  if (!f.ReadU32(flag)) return false;
  m_pShot.reset();
  if (flag != 0) {
    m_pShot = cEdShot::Create();
    if (!m_pShot->Load(f)) return false;
  }

  if (!LoadFlowList(m_vFlow, f)) return false;

  std::uint32_t count = 0;
  if (!f.ReadCount(count, sizeof(std::int32_t))) return false;
  m_vParam.assign(count, 0);
  if (!f.Read(m_vParam.data(), count * sizeof(std::int32_t))) return false;

  if (g_nFileVersion < DATA_VERSION) UpgradeParams();
  RemoveTestFlowsUnlessKept(m_vFlow);
  Validate();
  return !f.Failed();
}

void cEdCommand::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  f.WriteU32(m_pMove ? 1 : 0);
  if (m_pMove) m_pMove->Save(f);
  f.WriteU32(m_pShot ? 1 : 0);
  if (m_pShot) m_pShot->Save(f);
  SaveRecordList(f, m_vFlow);
  f.WriteU32(static_cast<std::uint32_t>(m_vParam.size()));
  f.Write(m_vParam.data(), m_vParam.size() * sizeof(std::int32_t));
}

void cEdCommand::VisitTail(cRecordVisitor& v) {
  v.BeginList("m_pMove", m_pMove ? 1 : 0);
  if (m_pMove) v.Element(*m_pMove);
  v.EndList();
  v.BeginList("m_pShot", m_pShot ? 1 : 0);
  if (m_pShot) v.Element(*m_pShot);
  v.EndList();
  VisitRecordList(v, "m_vFlow", m_vFlow);
  v.Values("m_vParam", m_vParam.data(), m_vParam.size());
}

void cEdCommand::Validate() {
  const cDefinitionContext& context = DefinitionContext();
  if (DatabaseIndexOutOfRange(m_nAnime, eDatabaseList::Anime)) m_nAnime = 0;
  if (DatabaseIndexOutOfRange(m_nSound, eDatabaseList::Sound)) m_nSound = 0;
  m_vParam.resize(static_cast<std::size_t>(CommandParamCount(m_nSet, m_nKind)), 0);

  const bool itemSet = m_nSet != COMMAND_SET_FLOW;
  if (!itemSet && m_nKind == CMD_SWORD && m_pShot) {
    const auto swordTypes = context.DatabaseListSize(eDatabaseList::SwordType);
    if (IndexOutOfRange(m_pShot->m_nMoveKind, swordTypes)) m_pShot->m_nMoveKind = 0;
    if (swordTypes && m_pShot->m_nMoveKind < *swordTypes) {
      // Summed wide so that long frames cannot wrap before the cap.
      std::int64_t total = 0;
      for (std::int32_t duration : context.SwordFrameDurations(m_pShot->m_nMoveKind)) total += duration;
      m_nTime = static_cast<std::int16_t>(
          std::clamp<std::int64_t>(total, std::numeric_limits<std::int16_t>::min(), 9999));
    }
  }
  const int baseAnimeSetKind = itemSet ? int{ICMD_CHANGE_BASE_ANIME_SET} : int{CMD_CHANGE_BASE_ANIME_SET};
  if (m_nKind == baseAnimeSetKind) {
    if (DatabaseIndexOutOfRange(m_vParam[0], eDatabaseList::AnimeSet)) m_vParam[0] = 0;
  }
  if (const auto list = PlayedList(itemSet, m_nKind)) {
    if (DatabaseIndexOutOfRange(m_vParam[0], *list)) m_vParam[0] = FallbackIndex(context.DatabaseListSize(*list));
  }

  for (cEdFlow& flow : m_vFlow) flow.Validate();
}

void cEdCommand::ValidatePaletteRefs() {
  const cDefinitionContext& context = DefinitionContext();
  if (m_nSet == COMMAND_SET_FLOW) {
    if ((m_nKind == CMD_SHOT || m_nKind == CMD_SWORD) && m_pShot) {
      cEdShot& shot = *m_pShot;
      if (shot.m_nItemKind == 1 || shot.m_nItemKind == 2) {
        const auto source = shot.m_nItemKind == 1 ? ePaletteSource::Common : ePaletteSource::Stage;
        if (IndexOutOfRange(shot.m_nItemIndex, context.PaletteListSize(source, ePaletteList::Item))) {
          shot.m_nItemKind = 0;
          shot.m_nItemIndex = 0;
        }
      }
    }
    if (m_nKind >= CMD_SUMMON_BLOCK && m_nKind <= CMD_SUMMON_ITEM && m_pShot) {
      cEdShot& shot = *m_pShot;
      if (shot.m_nSummonPalette == 0 || shot.m_nSummonPalette == 1) {
        const auto source = shot.m_nSummonPalette == 0 ? ePaletteSource::Common : ePaletteSource::Stage;
        const auto list = m_nKind == CMD_SUMMON_BLOCK   ? ePaletteList::Block
                          : m_nKind == CMD_SUMMON_ITEM ? ePaletteList::Item
                                                       : ePaletteList::Chara;
        const auto size = context.PaletteListSize(source, list);
        if (IndexOutOfRange(shot.m_nSummonIndex, size)) {
          shot.m_nSummonIndex = static_cast<std::int16_t>(FallbackIndex(size));
        }
      }
    }
    if (m_nKind == CMD_GET_ITEM) ValidateGetItem(m_vParam);
  } else if (m_nKind == ICMD_GET_ITEM) {
    ValidateGetItem(m_vParam);
  }
  for (cEdFlow& flow : m_vFlow) flow.ValidatePaletteRefs();
}

bool LoadCommandList(std::vector<cEdCommand>& list, cDataReader& f) { return LoadRecordList(f, list); }
