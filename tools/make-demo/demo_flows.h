// Building blocks of the demo's flows: commands with their parameter
// vectors sized to their kind, movement and shot records, and key
// conditions on the hero's input.
//
// Everything returned is a complete record as the editor would store it:
// a command's parameters have the count of its kind (listed values first,
// the rest 0), a flow starts as a list element (key tolerance 3).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "model/definitions/command.h"
#include "model/definitions/condition.h"
#include "model/definitions/flow.h"
#include "model/definitions/item_command.h"
#include "model/definitions/move.h"
#include "model/definitions/shot.h"

namespace demo {

// Indices of the key states of a key condition (ten directions, then no
// button and buttons 1 to 8).
enum eDemoKey {
  KEY_LEFT = 1,
  KEY_RIGHT = 2,
  KEY_UP_LEFT = 5,
  KEY_DOWN_LEFT = 6,
  KEY_UP_RIGHT = 7,
  KEY_DOWN_RIGHT = 8,
  KEY_BUTTON1 = 11,
  KEY_BUTTON2 = 12,
  KEY_BUTTON3 = 13,
};

// A flow command of `kind` lasting `time` tenths of a second.
cEdCommand FlowCommand(eFlowCommand kind, std::int16_t time, std::initializer_list<std::int32_t> params = {});
// An item command of `kind`.
cEdCommand ItemCommand(eItemCommand kind, std::initializer_list<std::int32_t> params = {});

// A straight move in a fixed direction at `speed` tenths of a pixel per frame.
std::shared_ptr<cEdMove> StraightMove(eMoveDirection direction, std::int16_t speed);
// A command's shot record: one shot per volley, straight out of the front.
std::shared_ptr<cEdShot> SingleShot(std::int16_t graphic, std::int16_t speed, std::int16_t rangeHbl,
                                    std::int32_t power);

// A key condition that holds while any of `keys` is pressed, however long.
cEdKeyCondition KeysPressed(std::initializer_list<int> keys);

// A flow with trigger and commands and no conditions.
cEdFlow MakeFlow(eFlowTrigger trigger, std::initializer_list<cEdCommand> commands);
// A hero flow that starts while `keys` are pressed: on every frame they
// are held (repeat) or only on the frame they go down.
cEdFlow KeyFlow(std::initializer_list<int> keys, bool repeat, std::initializer_list<cEdCommand> commands);

}  // namespace demo
