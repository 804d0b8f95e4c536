// The picture command: shows a picture of the database over the stage,
// replaces the one with the same ID in its place in the drawing order, or
// removes pictures; it may hold the game while the picture is shown.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <list>

#include "base/checked_access.h"
#include "base/report.h"
#include "game/commands/command_workers.h"
#include "game/commands/effect_position.h"
#include "game/commands/pause_game.h"
#include "game/core/numeric.h"
#include "game/flows/flow_condition.h"
#include "game/overlays/picture.h"
#include "game/stage/stage_play.h"
#include "model/database/database.h"
#include "model/definitions/command.h"

namespace {

enum {
  PIC_PICTURE,
  PIC_POSITION,
  PIC_COLUMN,
  PIC_ROW,
  PIC_OFFSET_X,
  PIC_OFFSET_Y,
  PIC_LAYER,
  PIC_SCALE,
  PIC_DISPLAY_MODE,
  PIC_TIME,
  PIC_PAUSE,
  PIC_SCREEN_FIXED,
  PIC_HAS_ID,
  PIC_ID
};

enum { DISPLAY_UNTIL_KEY, DISPLAY_UNTIL_STAGE_END, DISPLAY_FOR_TIME };

}  // namespace

void ExecShowPicture(cActor* pActor, const cEdCommand& command) {
  cStagePlay& stage = *g_pStageScene;
  if (stage.m_bQuit || !pActor) return;
  const auto p = [&command](int i) { return CheckedAt(command.m_vParam, i); };
  std::list<cPicture>& pictures = stage.m_PictureList;
  const int number = p(PIC_PICTURE);
  if (number == 0 && !p(PIC_HAS_ID)) {
    stage.ReleasePictureSurfaces();
    pictures.clear();
    return;
  }
  auto at = pictures.end();  // the place of the new picture
  if (p(PIC_HAS_ID)) {
    const int id = p(PIC_ID);
    const auto found = std::find_if(pictures.begin(), pictures.end(),
                                    [id](const cPicture& picture) { return picture.m_nValue1 && picture.m_nValue2 == id; });
    if (found != pictures.end()) {
      stage.RemovePictureSurface(static_cast<int>(std::distance(pictures.begin(), found)));
      at = pictures.erase(found);
    }
    if (number == 0) return;
  }
  const int position = static_cast<int>(std::distance(pictures.begin(), at));
  const cEdPicture& entry = CheckedAt(g_Database.m_vPicture, static_cast<std::uint16_t>(number));
  int width = 0, height = 0;
  if (!stage.InsertPictureSurface(position, entry.m_strFile, width, height)) {
    ErrorBoxF("%s 読み込み失敗！", entry.m_strFile.c_str());
    ErrorLogAndClose("%s 読み込み失敗！", entry.m_strFile.c_str());
    return;
  }
  const int w = PercentOf(width, p(PIC_SCALE));
  const int h = PercentOf(height, p(PIC_SCALE));
  const sMapPoint xy = GetEffectPosition(w, h, *pActor, p(PIC_POSITION), p(PIC_COLUMN), p(PIC_ROW), p(PIC_OFFSET_X),
                                         p(PIC_OFFSET_Y));
  const int frames = CapToInt(static_cast<std::int64_t>(p(PIC_TIME)) * 6);
  const auto picture = pictures.emplace(at);
  picture->Setup(number, xy.x, xy.y, w, h, p(PIC_SCREEN_FIXED), p(PIC_LAYER), p(PIC_SCALE), p(PIC_DISPLAY_MODE), frames,
                 p(PIC_PAUSE), p(PIC_HAS_ID), p(PIC_ID));
  if (!p(PIC_PAUSE)) return;
  switch (p(PIC_DISPLAY_MODE)) {
    case DISPLAY_FOR_TIME: PauseGame(SetModalWait(3, 0, frames, 0)); break;
    default:
      // Shown until the stage ends yet holding the game: a key ends the hold.
      PauseGame(SetModalWait(3, 1, 0, 0));
      break;
  }
  stage.RemovePictureSurface(static_cast<int>(std::distance(pictures.begin(), picture)));
  pictures.erase(picture);
}
