// The flow-command table: the executor of each of the 37 flow commands,
// indexed by eFlowCommand. Every sub-step of a running command, its flow's
// step calls the executor once with the acting actor and the command's
// instance (cCommandInstance::RunFrame). CMD_NONE and CMD_WAIT do nothing;
// a command of a kind outside the table does nothing either.
//
// The table can be changed: tests put recording executors in its slots.
#pragma once

#include <array>

#include "model/definitions/command.h"

class cActor;
struct cCommandInstance;

using tFlowCommandExecutor = void (*)(cActor* pActor, cCommandInstance& command);

extern std::array<tFlowCommandExecutor, FLOW_COMMAND_COUNT> g_FlowCommandTable;

void DispatchFlowCommand(cActor* pActor, cCommandInstance& command);
