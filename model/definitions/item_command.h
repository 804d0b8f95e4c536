// The item commands: the reduced set of flow commands that an item runs all
// at once when it is taken, with the name and parameter count of each kind.
// Command validation sizes an item command's parameters by this table.
#pragma once

#include <array>

#include "model/definitions/command.h"

enum eItemCommand {
  ICMD_NONE,
  ICMD_CHANGE_FLOW,
  ICMD_STAGE_CLEAR,
  ICMD_GAME_WAIT,
  ICMD_MESSAGE,
  ICMD_WARP,
  ICMD_SET_TARGET,
  ICMD_STATUS_OPERATION,
  ICMD_STATUS_OPERATION2,
  ICMD_GET_ITEM,
  ICMD_CHANGE_GRAPHIC,
  ICMD_CHANGE_BASE_ANIME_SET,
  ICMD_PLAY_ANIME,
  ICMD_PLAY_EFFECT,
  ICMD_PLAY_CHARA_EFFECT,
  ICMD_PLAY_SCREEN_EFFECT,
  ICMD_SHOW_PICTURE,
  ICMD_CHANGE_SCREEN_COLOR,
  ICMD_CHANGE_BACKGROUND,
  ICMD_PLAY_SOUND,
  ICMD_PLAY_BGM,
  ICMD_RUN_CODE,
  ITEM_COMMAND_COUNT
};

extern const std::array<cEdCommandInfo, ITEM_COMMAND_COUNT> g_ItemCommandInfo;
