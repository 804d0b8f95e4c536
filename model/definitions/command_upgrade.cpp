// Parameter layouts of commands stored by older data versions, brought to
// the current layout. Flow and item commands share the steps, each set with
// its own kind numbers; some steps exist for flow commands only.
#include <algorithm>
#include <cstdint>

#include "model/definitions/command.h"
#include "model/definitions/item_command.h"

namespace {

constexpr int kFlowOnly = -1;

class cParamEdit {
 public:
  explicit cParamEdit(std::vector<std::int32_t>& p) : m_p(p) {}

  void Resize(std::size_t n) { m_p.resize(n, 0); }
  // After a resize to n: entries from i on move up one place, the last one
  // is lost, and entry i becomes value.
  void Insert(std::size_t n, std::size_t i, std::int32_t value) {
    Resize(n);
    m_p.insert(m_p.begin() + static_cast<std::ptrdiff_t>(i), value);
    m_p.pop_back();
  }
  // Entries a damaged file left out read as 0 and are not written.
  std::int32_t Get(std::size_t i) const { return i < m_p.size() ? m_p[i] : 0; }
  void Set(std::size_t i, std::int32_t value) {
    if (i < m_p.size()) m_p[i] = value;
  }
  void Increment(std::size_t i, std::int64_t cap = INT32_MAX) {
    if (i < m_p.size()) m_p[i] = static_cast<std::int32_t>(std::min<std::int64_t>(m_p[i] + std::int64_t{1}, cap));
  }

 private:
  std::vector<std::int32_t>& m_p;
};

// The status command tests p[0] (side 0 a status) of subject p[3] and item
// p[4], and an operand of kind p[6] (2 a status) of subject p[12] and item
// p[13]; character statuses were inserted at 10 (version 168) and 5 (203).
void ShiftStatusItems(cParamEdit& p, int inserted) {
  constexpr int kSystem = 2;
  if (p.Get(0) == 0 && p.Get(3) != kSystem && p.Get(4) >= inserted) p.Increment(4);
  if (p.Get(6) == 2 && p.Get(12) != kSystem && p.Get(13) >= inserted) p.Increment(13);
}

}  // namespace

void cEdCommand::UpgradeParams() {
  const bool itemSet = m_nSet != COMMAND_SET_FLOW;
  const auto is = [&](int flowKind, int itemKind) { return m_nKind == (itemSet ? itemKind : flowKind); };
  const std::uint32_t v = g_nFileVersion;
  cParamEdit p(m_vParam);

  if (v < 145 && is(CMD_STAGE_CLEAR, ICMD_STAGE_CLEAR)) p.Resize(5);
  if (v < 166 && is(CMD_PLAY_BGM, ICMD_PLAY_BGM)) {
    p.Resize(2);
    p.Set(1, 1);
  }
  if (v < 168 && is(CMD_STATUS_OPERATION, ICMD_STATUS_OPERATION)) ShiftStatusItems(p, 10);
  if (v < 189 && is(CMD_SET_TARGET, ICMD_SET_TARGET)) p.Insert(10, 2, 0);
  if (v < 194 && is(CMD_SHOW_PICTURE, ICMD_SHOW_PICTURE)) p.Insert(14, 6, 1);
  if (v < 195 && (is(CMD_PLAY_CHARA_EFFECT, ICMD_PLAY_CHARA_EFFECT) ||
                  is(CMD_PLAY_SCREEN_EFFECT, ICMD_PLAY_SCREEN_EFFECT))) {
    p.Insert(3, 1, 0);
  }
  if (v < 203 && (is(CMD_SUMMON_CHARACTER, kFlowOnly) || is(CMD_SUMMON_ITEM, kFlowOnly))) p.Resize(0);
  if (v < 203 && is(CMD_FLOW_CONTROL, kFlowOnly)) p.Resize(3);
  if (v < 203 && is(CMD_STATUS_OPERATION, ICMD_STATUS_OPERATION)) ShiftStatusItems(p, 5);
  // Status-2 item 6 was inserted in version 210; p[0] is the subject.
  if (v < 210 && is(CMD_STATUS_OPERATION2, ICMD_STATUS_OPERATION2) && p.Get(0) != 2 && p.Get(1) >= 6) {
    p.Increment(1);
  }
  // Graphic kind 3 gained a picture 0 in version 219.
  if (v < 219 && is(CMD_CHANGE_GRAPHIC, ICMD_CHANGE_GRAPHIC) && p.Get(0) == 3) p.Increment(1, 119);
  if (v < 220 && is(CMD_SHOT, kFlowOnly) && m_pShot) {
    m_pShot->m_nGraphicNo = static_cast<std::int16_t>(std::min(m_pShot->m_nGraphicNo + 1, 119));
  }
  if (v < 514 && is(CMD_MOVE_CHARGE, kFlowOnly) && m_pMove) {
    m_pMove->m_nAngle = 0;
    m_pMove->m_nAngleCoef = 0;
    m_pMove->m_bMirrorAngle = 1;
  }
  const bool message = is(CMD_MESSAGE, ICMD_MESSAGE);
  const bool picture = is(CMD_SHOW_PICTURE, ICMD_SHOW_PICTURE);
  if (v < 545 && message) {
    p.Resize(17);
    p.Set(10, 1);
  }
  if (v < 545 && picture) {
    p.Resize(14);
    p.Set(11, 0);
  }
  if (v < 546 && message) p.Set(10, (p.Get(0) == 0 || p.Get(0) == 7) ? 1 : 0);
  if (v < 547 && message) {
    p.Resize(17);
    for (std::size_t i = 11; i <= 15; ++i) p.Set(i, i == 14 ? 1 : 0);
  }
  if (v < 547 && picture) {
    p.Resize(14);
    p.Set(12, 0);
    p.Set(13, 0);
  }
  if (v < 556 && message) {
    p.Resize(17);
    p.Set(16, 1);
  }
}
