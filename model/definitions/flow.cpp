#include "model/definitions/flow.h"

#include <algorithm>

#include "model/definitions/definition_context.h"
#include "model/record/play_flags.h"

cEdFlow::cEdFlow() { Clear(); }

cEdFlow cEdFlow::ListElement() {
  cEdFlow flow;
  flow.m_nKeyTolerance = 3;
  return flow;
}

void cEdFlow::DeclareFields(int /*nVersion*/) {
  ClearTables();
  ED_FIELD(m_nId);
  ED_FIELD(m_nGroup);
  ED_FIELD(m_bTestOnly);
  ED_FIELD(m_nConditionMode);
  ED_FIELD(m_bConditionOnce);
  ED_FIELD(m_nTrigger);
  ED_FIELD(m_nKeyTolerance);
  ED_FIELD(m_bKeyRepeat);
}

bool cEdFlow::Load(cDataReader& f) {
  if (!cEdRecord::Load(f)) return false;
  if (!LoadConditionList(m_vCondition, f)) return false;
  if (!LoadKeyConditionList(m_vKeyCondition, f)) return false;
  if (!LoadCommandList(m_vCommand, f)) return false;

  // Triggers were inserted at 11 (version 132) and two at 5 (version 164);
  // before version 163 only flows that run always had groups.
  const auto trigger = [this] { return static_cast<std::int8_t>(m_nTrigger); };
  if (g_nFileVersion <= 131 && trigger() >= 11) m_nTrigger = static_cast<std::uint8_t>(m_nTrigger + 1);
  if (g_nFileVersion < 163 && m_nTrigger != TRIGGER_ALWAYS) m_nGroup = 0;
  if (g_nFileVersion < 164 && trigger() >= 5) m_nTrigger = static_cast<std::uint8_t>(m_nTrigger + 2);
  // Validating the flow would validate its commands once more: each was as
  // it was read.
  return !f.Failed();
}

void cEdFlow::Save(cDataWriter& f) {
  Validate();
  cEdRecord::Save(f);
  SaveRecordList(f, m_vCondition);
  SaveRecordList(f, m_vKeyCondition);
  SaveRecordList(f, m_vCommand);
}

void cEdFlow::VisitTail(cRecordVisitor& v) {
  VisitRecordList(v, "m_vCondition", m_vCondition);
  VisitRecordList(v, "m_vKeyCondition", m_vKeyCondition);
  VisitRecordList(v, "m_vCommand", m_vCommand);
}

void cEdFlow::Validate() {
  for (cEdCommand& command : m_vCommand) command.Validate();
}

void cEdFlow::ValidatePaletteRefs() {
  for (cEdCommand& command : m_vCommand) command.ValidatePaletteRefs();
}

bool LoadFlowList(std::vector<cEdFlow>& list, cDataReader& f) {
  return LoadRecordList(f, list, cEdFlow::ListElement);
}

void RemoveTestFlows(std::vector<cEdFlow>& list) {
  std::erase_if(list, [](const cEdFlow& flow) { return flow.m_bTestOnly != 0; });
}

void RemoveTestFlowsUnlessKept(std::vector<cEdFlow>& list) {
  if (g_bTestPlay || DefinitionContext().KeepTestFlows()) return;
  RemoveTestFlows(list);
}
