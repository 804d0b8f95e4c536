// The item-command table: the handler of each of the 22 item commands,
// indexed by eItemCommand. An item's commands run all at once when the hero
// takes it; each handler calls the worker of the flow command of the same
// name and returns 0 to go on with the next command, or non-zero to stop the
// list (only the stage clear stops it).
#pragma once

#include <array>
#include <vector>

#include "model/definitions/item_command.h"

class cActor;

using tItemCommandHandler = int (*)(cActor* pActor, const cEdCommand& command);

extern const std::array<tItemCommandHandler, ITEM_COMMAND_COUNT> g_ItemCommandTable;

// Runs an item's commands on the hero, in order: 0 when all ran, the first
// non-zero result of a command (1 after a stage clear), or 2 as soon as the
// hero's HP is below 1. The first message of the list opens its window,
// later ones follow on. A run inside eight others (items that get items)
// is refused with a report line and gives 0.
int RunItemCommands(cActor& hero, const std::vector<cEdCommand>& commands);
