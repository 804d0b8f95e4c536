// The set-target command: the actor's target becomes the hero, itself, the
// nearest or the first character that passes the filters, of one team or
// of all teams, or nobody.
#include <vector>

#include "base/checked_access.h"
#include "game/commands/command_workers.h"
#include "game/objects/character_search.h"
#include "game/stage/stage_play.h"
#include "model/definitions/command.h"

namespace {

enum eTargetKind { TARGET_HERO, TARGET_SELF, TARGET_NEAREST, TARGET_FIRST_FOUND };

// Parameters after the kind: 1 team, 2 all teams, 3 search mode, 4 exclude
// itself, 5 skip invincible characters that shots hit, 6 skip characters
// that shots pass, 7 skip block characters, 8 by character ID, 9 the ID.
struct sTargetSearch {
  int nMode, bById, nId, bExclude, bSkipShotHit, bSkipShotPass, bSkipBlockChara, nSelfId;

  template <class List>
  cActor* Nearest(int x, int y, List& list) const {
    return FindNearestCharacterEx(x, y, list, nMode, bById, nId, bExclude, bSkipShotHit, bSkipShotPass,
                                  bSkipBlockChara, nSelfId);
  }
  template <class List>
  cActor* First(List& list) const {
    return FindFirstCharacter(list, bById, nId, bExclude, bSkipShotHit, bSkipShotPass, bSkipBlockChara, nSelfId);
  }
};

}  // namespace

void ExecSetTarget(cActor* pActor, const cEdCommand& command) {
  if (!pActor) return;
  const auto p = [&command](int i) { return CheckedAt(command.m_vParam, i); };
  cStagePlay& stage = *g_pStageScene;
  const sTargetSearch search{p(3), p(8), static_cast<std::uint8_t>(p(9)), p(4), p(5), p(6), p(7), pActor->m_nId};
  const bool allTeams = p(2) != 0;
  cActor* target = nullptr;
  switch (p(0)) {
    case TARGET_HERO: target = stage.m_pHero; break;
    case TARGET_SELF: target = pActor; break;
    case TARGET_NEAREST: {
      const int x = pActor->CenterX(), y = pActor->CenterY();
      if (!allTeams) {
        target = search.Nearest(x, y, CheckedAt(stage.m_vTeamCharacter, p(1)));
        break;
      }
      std::vector<cActor*> nearestOfEachTeam;
      for (auto& team : stage.m_vTeamCharacter) {
        if (team.empty()) continue;
        if (cActor* nearest = search.Nearest(x, y, team)) nearestOfEachTeam.push_back(nearest);
      }
      target = search.Nearest(x, y, nearestOfEachTeam);
      break;
    }
    case TARGET_FIRST_FOUND:
      if (!allTeams) {
        target = search.First(CheckedAt(stage.m_vTeamCharacter, p(1)));
        break;
      }
      for (auto& team : stage.m_vTeamCharacter) {
        if ((target = search.First(team))) break;
      }
      break;
    default: break;
  }
  pActor->SetTarget(target);
}
