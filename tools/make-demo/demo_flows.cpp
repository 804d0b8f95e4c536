#include "tools/make-demo/demo_flows.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace demo {

namespace {

cEdCommand MakeCommand(int set, int kind, std::initializer_list<std::int32_t> params) {
  cEdCommand command;
  command.m_nSet = static_cast<std::uint8_t>(set);
  command.m_nKind = static_cast<std::uint8_t>(kind);
  command.m_vParam.assign(static_cast<std::size_t>(CommandParamCount(set, kind)), 0);
  std::copy_n(params.begin(), std::min(params.size(), command.m_vParam.size()), command.m_vParam.begin());
  return command;
}

}  // namespace

cEdCommand FlowCommand(eFlowCommand kind, std::int16_t time, std::initializer_list<std::int32_t> params) {
  cEdCommand command = MakeCommand(COMMAND_SET_FLOW, kind, params);
  command.m_nTime = time;
  return command;
}

cEdCommand ItemCommand(eItemCommand kind, std::initializer_list<std::int32_t> params) {
  return MakeCommand(COMMAND_SET_ITEM, kind, params);
}

std::shared_ptr<cEdMove> StraightMove(eMoveDirection direction, std::int16_t speed) {
  std::shared_ptr<cEdMove> move;
  NewMove(move);
  move->m_nDirection = static_cast<std::uint8_t>(direction);
  move->m_nSpeed = speed;
  return move;
}

std::shared_ptr<cEdShot> SingleShot(std::int16_t graphic, std::int16_t speed, std::int16_t rangeHbl,
                                    std::int32_t power) {
  std::shared_ptr<cEdShot> shot = cEdShot::Create();
  shot->m_nShotCount = 1;
  shot->m_nPattern = PATTERN_STRAIGHT_A;
  shot->m_nDirection = SHOTDIR_FRONT;
  shot->m_nGraphicNo = graphic;
  shot->m_nLayer = 5;
  shot->m_nSpeed = speed;
  shot->m_bRange = 1;
  shot->m_nRange = rangeHbl;
  shot->m_nPower = power;
  return shot;
}

cEdKeyCondition KeysPressed(std::initializer_list<int> keys) {
  cEdKeyCondition condition;
  for (int key : keys) condition.m_vKeyState.at(static_cast<std::size_t>(key)) = KEY_PRESSED;
  condition.m_bAnyHold = 1;
  condition.m_nKeyMode = 1;  // one of the keys is enough
  return condition;
}

cEdFlow MakeFlow(eFlowTrigger trigger, std::initializer_list<cEdCommand> commands) {
  cEdFlow flow = cEdFlow::ListElement();
  flow.m_nTrigger = static_cast<std::uint8_t>(trigger);
  flow.m_vCommand.assign(commands);
  return flow;
}

cEdFlow KeyFlow(std::initializer_list<int> keys, bool repeat, std::initializer_list<cEdCommand> commands) {
  cEdFlow flow = MakeFlow(TRIGGER_ALWAYS, commands);
  flow.m_bKeyRepeat = repeat ? 1 : 0;
  flow.m_vKeyCondition.push_back(KeysPressed(keys));
  return flow;
}

}  // namespace demo
