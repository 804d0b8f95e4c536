// Flows: the event-driven programs of characters and of the item command
// that changes flows.
//
// A flow has a trigger, conditions, a key-condition sequence and commands;
// it is stored as eight bytes followed by those three lists. Loading
// upgrades the trigger numbering of old files; validating a flow validates
// its commands. Test-only flows are removed when characters and commands are
// read, unless the program runs as a test play or the settings keep them.
#pragma once

#include <cstdint>
#include <vector>

#include "model/definitions/command.h"
#include "model/definitions/condition.h"
#include "model/record/record.h"

enum eFlowTrigger {
  TRIGGER_ALWAYS,
  TRIGGER_DAMAGED,
  TRIGGER_IMPACT,
  TRIGGER_DEATH,
  TRIGGER_HIT_CHARACTER,
  TRIGGER_HIT_BLOCK_CHARACTER,
  TRIGGER_ON_BLOCK_CHARACTER,
  TRIGGER_HIT_SHOT,
  TRIGGER_HIT_ITEM,
  TRIGGER_HIT_BLOCK,
  TRIGGER_BLOCK_LEFT_RIGHT,
  TRIGGER_BLOCK_LEFT,
  TRIGGER_BLOCK_RIGHT,
  TRIGGER_BLOCK_UP_DOWN,
  TRIGGER_BLOCK_UP,
  TRIGGER_BLOCK_DOWN,
  TRIGGER_RIDDEN_BY_PLAYER,
  TRIGGER_RIDDEN_BY_CHARACTER,
  TRIGGER_BEFORE_STAGE_START,
  TRIGGER_NONE,
  FLOW_TRIGGER_COUNT
};

class cEdFlow : public cEdRecordOf<cEdFlow> {
 public:
  cEdFlow();
  // A flow as list readers and inheritance add it: all 0, key tolerance 3.
  static cEdFlow ListElement();

  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;
  void Validate();
  void ValidatePaletteRefs();

  std::uint8_t m_nId = 0;
  std::uint8_t m_nGroup = 0;
  std::uint8_t m_bTestOnly = 0;
  std::vector<cEdCondition> m_vCondition;
  std::uint8_t m_nConditionMode = 0;
  std::uint8_t m_bConditionOnce = 0;
  std::uint8_t m_nTrigger = 0;
  std::uint8_t m_nKeyTolerance = 0;
  std::uint8_t m_bKeyRepeat = 0;
  std::vector<cEdKeyCondition> m_vKeyCondition;
  std::vector<cEdCommand> m_vCommand;
};

bool LoadFlowList(std::vector<cEdFlow>& list, cDataReader& f);

// Erases every test-only flow, keeping the order of the others.
void RemoveTestFlows(std::vector<cEdFlow>& list);
// RemoveTestFlows, unless g_bTestPlay is set or the settings keep test flows.
void RemoveTestFlowsUnlessKept(std::vector<cEdFlow>& list);
