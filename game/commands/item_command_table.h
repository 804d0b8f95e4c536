// The item-command table: the handler of each of the 22 item commands,
// indexed by eItemCommand. An item's commands run all at once when the hero
// takes it; each handler calls the worker of the flow command of the same
// name and returns 0 to go on with the next command, or non-zero to stop the
// list (only the stage clear stops it).
#pragma once

#include <array>

#include "model/definitions/item_command.h"

class cActor;

using tItemCommandHandler = int (*)(cActor* pActor, const cEdCommand& command);

extern const std::array<tItemCommandHandler, ITEM_COMMAND_COUNT> g_ItemCommandTable;
