#include "game/flows/flow_instance.h"

#include "game/core/numeric.h"
#include "model/definitions/command.h"

void cCommandInstance::ResolveMoveTiming(const cEdCommand& command, std::int16_t n) {
  const cEdMove* move = command.m_pMove.get();
  if (!move) return;
  double distance = static_cast<double>(move->m_nDistanceCoef) * n + move->m_nDistance;
  if (move->m_nDistanceUnit != 1) distance *= 16;
  if (move->m_nTiming == 1) {
    // A command of no duration still acts once.
    m_dMoveSpeed = distance / (m_nTotalFrames < 1 ? 1 : m_nTotalFrames);
  } else if (move->m_nTiming == 2 && m_dMoveSpeed != 0) {
    m_nTotalFrames = TruncToInt(distance / m_dMoveSpeed);
  }
}
