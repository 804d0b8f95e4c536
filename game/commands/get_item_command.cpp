// The get-item command: the item commands of a palette item run on the hero
// at once, as if it had taken the item.
#include "base/checked_access.h"
#include "game/commands/command_workers.h"
#include "game/commands/item_command_table.h"
#include "game/objects/actor.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"
#include "model/stage/common_palette.h"
#include "model/stage/stage.h"

namespace {

enum eItemPalette { ITEMPALETTE_COMMON, ITEMPALETTE_STAGE };

}  // namespace

int ExecGetItem(cActor*, const cEdCommand& command) {
  cStagePlay& stage = *g_pStageScene;
  const int palette = CheckedAt(command.m_vParam, 0);
  if (palette != ITEMPALETTE_COMMON && palette != ITEMPALETTE_STAGE) return 0;
  const std::vector<cEdItem>& items =
      palette == ITEMPALETTE_COMMON ? g_CommonPalette.m_vItems : g_LoadedStage.m_vPaletteItems;
  if (items.empty() || !stage.m_pHero) return 0;
  const cEdItem& item = CheckedAt(items, CheckedAt(command.m_vParam, 1));
  const int result = RunItemCommands(*stage.m_pHero, item.m_vCommand);
  // A result of 0 leaves a clear or a miss asked for earlier in the same step.
  if (result != 0) stage.m_nEndRequest = result;
  return result;
}

void FlowCmdGetItem(cActor* pActor, cCommandInstance& command) { ExecGetItem(pActor, *command.m_pCommand); }
