// The status-operation command: the shared worker on every frame of the command.
#include "game/commands/command_workers.h"
#include "game/commands/flow_executors.h"
#include "game/flows/flow_instance.h"

void FlowCmdStatusOperation(cActor* pActor, cCommandInstance& command) {
  ApplyStatusOperation(pActor, *command.m_pCommand);
}
