// Launching: the shot command's volleys and the block, character and item
// summons, placed in one of six formations around the shooter or its
// target.
//
// Directions: a launch goes out in a direction slot, 2 left, 3 right, 6 up,
// 7 down, 8 up-left, 9 down-left, 10 up-right, 11 down-right, whose base
// angle (0 left, 180 right, 90 up, 270 down, 45, 315, 135, 225) the shot's
// angle turns. A velocity for angle a at speed s is (-s cos a, -s sin a).
#pragma once

#include "game/objects/shot.h"

class cActor;

// The shot command's volleys (the shots join the stage).
void FireShots(cActor& shooter, const cEdShot& shot);
// One launch of a summon command: the palette entry the shot record names
// is placed at each point of the formation through the stage's services.
void FireBlockSummon(cActor& shooter, const cEdShot& shot);
void FireCharaSummon(cActor& shooter, const cEdShot& shot);
void FireItemSummon(cActor& shooter, const cEdShot& shot);

// The direction slot of a shot direction code for the shooter (front and
// back by its facing, the running flow's input key for SHOTDIR_TRIGGER);
// a code that gives no slot (the input key of "any") is the front.
int ShotDirectionSlot(int nDirection, const cActor& shooter);
// The base angle of a direction slot in degrees.
int SlotBaseAngle(int nSlot);
// The angle from a stage point to the centre of the shooter's target (the
// shooter's front without one); may adjust the launch speed for a view
// that scrolls by itself.
int AimAngleAt(int x, int y, const cActor& shooter, const cEdShot& shot, cShotLaunch& launch);

// Formations cap their columns at what the editor allows.
constexpr int kMaxLightningColumns = 50;
