#include "model/definitions/shot.h"

#include "model/definitions/definition_context.h"

namespace {
constexpr cEdParamInfo kUnused{"", 0, 0, 0};
constexpr cEdParamInfo kSpacing{"間隔(hbl)", 0, 40, 0};
constexpr cEdParamInfo kCourseChange{"軌道変更(hbl)", 0, 40, 0};
constexpr cEdParamInfo kTargetTeam{"対象勢力", 0, 7, 0};
constexpr cEdParamInfo kHomingStart{"誘導開始(hbl)", 0, 40, 0};
constexpr cEdParamInfo kHomingEnd{"誘導終了(hbl)", 0, 999, 999};
}  // namespace

const std::array<cEdParamInfo, SHOT_PATTERN_COUNT * 3> g_ShotPatternParams = {{
    kSpacing, kUnused, kUnused,                                                  // 直進A
    kSpacing, kUnused, kUnused,                                                  // 直進B
    {"角度", 0, 180, 30}, kUnused, kUnused,                                      // 拡散
    kSpacing, {"列の数", 1, 50, 1}, {"列の間隔(hbl)", 0, 40, 0},                  // 落雷
    kUnused, kUnused, kUnused,                                                   // 爆発
    {"距離(hbl)", 0, 40, 6}, kUnused, kUnused,                                   // 包囲
}};

const std::array<cEdParamInfo, SHOT_MOVE_COUNT * 3> g_ShotMoveParams = {{
    kUnused, kUnused, kUnused,                                                   // 直進
    kCourseChange, kUnused, kUnused,                                             // 主人公を狙う
    kCourseChange, kTargetTeam, kUnused,                                         // 近いキャラを狙う
    kCourseChange, kUnused, kUnused,                                             // ターゲットを狙う
    kHomingStart, kHomingEnd, kUnused,                                           // 主人公へ誘導
    kHomingStart, kHomingEnd, kTargetTeam,                                       // 近いキャラへ誘導（対象死亡時、誘導を無効化）
    kHomingStart, kHomingEnd, kUnused,                                           // ターゲットへ誘導
    kHomingStart, kHomingEnd, kTargetTeam,                                       // 近いキャラへ誘導（対象死亡時、対象を変更）
    {"波の最大(hbl)", 0, 100, 4}, {"波の速度", 0, 100, 4}, {"開始角度", 0, 359, 0},  // ウェーブ
    kCourseChange, kUnused, kUnused,                                             // 落下
}};

cEdShot::cEdShot() {
  Clear();
  m_bMirrorAngle = 1;
  m_bMirrorOffsetX = 1;
  m_bShooterTeam = 1;
  m_nSize = 1;
}

std::shared_ptr<cEdShot> cEdShot::Create() { return std::make_shared<cEdShot>(); }

void cEdShot::DeclareFields(int nVersion) {
  ClearTables();
  ED_FIELD(m_nShotCount);
  ED_FIELD(m_nPattern);
  ED_ARRAY(m_anPatternParam, 3);
  ED_FIELD(m_nDirection);
  ED_FIELD(m_bAimTarget);
  ED_FIELD(m_nAngle);
  ED_FIELD(m_nAngleStep);
  if (nVersion >= 158) ED_FIELD(m_bMirrorAngle);
  ED_FIELD(m_nAngleRandom);
  ED_FIELD(m_bRotateFormation);
  ED_FIELD(m_nExtraVolleys);
  ED_FIELD(m_nOffsetX);
  ED_FIELD(m_nOffsetXStep);
  ED_FIELD(m_nOffsetY);
  ED_FIELD(m_nOffsetYStep);
  ED_FIELD(m_bMirrorOffsetX);
  ED_FIELD(m_bMirrorOffsetY);
  ED_FIELD(m_nGraphicNo);
  ED_FIELD(m_nLayer);
  ED_FIELD(m_bHidden);
  ED_FIELD(m_bShooterTeam);
  ED_FIELD(m_nTeam);
  ED_FIELD(m_nStoredByte1);
  ED_FIELD(m_nSize);
  ED_FIELD(m_nStoredByte2);
  ED_FIELD(m_nMoveKind);
  ED_ARRAY(m_anMoveParam, 3);
  if (nVersion >= 211) ED_FIELD(m_bScrollSync);
  ED_FIELD(m_nSpeed);
  ED_FIELD(m_nSpeedStep);
  if (nVersion >= 213) {
    ED_FIELD(m_bAccel);
    ED_FIELD(m_nAccel);
    ED_FIELD(m_nAccelStep);
  }
  ED_FIELD(m_nRange);
  ED_FIELD(m_bRange);
  ED_FIELD(m_nRangeStep);
  ED_FIELD(m_bStopAtRange);
  ED_FIELD(m_bLifetime);
  ED_FIELD(m_nLifetime);
  ED_FIELD(m_nLifetimeStep);
  ED_FIELD(m_bThroughBlocks);
  ED_FIELD(m_bPierce);
  ED_FIELD(m_bHitShots);
  ED_FIELD(m_nShotStrength);
  ED_FIELD(m_nPower);
  ED_FIELD(m_nStoredShort);
  ED_FIELD(m_nImpact);
  ED_FIELD(m_nHitEffect);
  ED_FIELD(m_nItemKind);
  ED_FIELD(m_nItemIndex);
  ED_FIELD(m_nBlockMode);
  ED_FIELD(m_bProtectPlayer);
  if (nVersion >= 197) ED_FIELD(m_bProtectCharas);
  ED_FIELD(m_nSummonPalette);
  ED_FIELD(m_nSummonIndex);
  ED_FIELD(m_nSummonTeam);
  ED_FIELD(m_bNoScore);
  ED_FIELD(m_bSummonReverse);
}

bool cEdShot::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (g_nFileVersion < 158) m_bMirrorAngle = 0;
  if (g_nFileVersion < 197) m_bProtectCharas = m_bProtectPlayer;
  // Shots that home or aim at moving targets followed the scrolling before
  // the switch existed; files of version 211 are set the same way.
  if (g_nFileVersion < 212) m_bScrollSync = (m_nMoveKind >= 4 && m_nMoveKind <= 7) ? 1 : 0;
  if (g_nFileVersion < 213) {
    m_bAccel = 0;
    m_nAccel = 0;
    m_nAccelStep = 0;
  }
  Validate();
  return !f.Failed();
}

void cEdShot::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
}

void cEdShot::Validate() {
  if (m_nSize == 0) m_nSize = 1;
  if (DatabaseIndexOutOfRange(m_nHitEffect, eDatabaseList::Effect)) m_nHitEffect = 0;
}

double cEdShot::OffsetX(int nVolley, int nFacing) const {
  double offset = m_nOffsetX + m_nOffsetXStep * nVolley;
  if (nFacing == 1 && m_bMirrorOffsetX) offset = -offset;
  return offset;
}

double cEdShot::OffsetY(int nVolley, int nFacing) const {
  double offset = m_nOffsetY + m_nOffsetYStep * nVolley;
  if (nFacing == 1 && m_bMirrorOffsetY) offset = -offset;
  return offset;
}

void CopyShotRecord(std::shared_ptr<cEdShot>& dst, const std::shared_ptr<cEdShot>& src) {
  dst = src ? std::make_shared<cEdShot>(*src) : nullptr;
}
