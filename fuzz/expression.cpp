// Runs arbitrary text through the expression language as the run-code
// command does, for a running actor that aims at another character on a
// stage with a hero. Every input starts from the same variables, actors and
// random seed, so that a failing input fails again on its own. Error boxes
// are answered at once and not kept.
#include <cstdint>
#include <string>

#include "base/random.h"
#include "game/expressions/expression.h"
#include "model/user/save_data.h"
#include "platform/message_box.h"
#include "support/definition_builders.h"
#include "support/test_actor.h"
#include "support/test_stage.h"

namespace {

class DiscardedBoxes : public platform::MessageBoxBackend {
 public:
  int Show(const std::string&, const std::string&, unsigned type) override { return platform::SafeAnswer(type); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static DiscardedBoxes boxes;
  static TestStage* stage = [] {
    platform::SetMessageBoxBackend(&boxes);
    return new TestStage;
  }();
  g_SaveData.m_vVariables.assign(COMMON_VARIABLE_COUNT, 0);
  g_SaveData.m_nLives = 3;
  g_SaveData.m_nScore = 0;
  stage->m_vStageVar.assign(100, 0);
  stage->m_nTimeLeft = 100;
  stage->m_bCheckDeaths = 0;
  g_LoadedStage.m_nAutoScrollSpeedX = g_LoadedStage.m_nAutoScrollSpeedY = 0;
  SeedRandom(0);

  TestActor hero;
  stage->m_pHero = &hero;
  hero.SetUp(CharaBuilder().Hero().Hp(30).Sp(10), 2, 5, 1);
  TestActor actor;
  actor.SetUp(CharaBuilder().Hp(100).Sp(50), 5, 5, 2);
  TestActor other;
  other.SetUp(CharaBuilder().Hp(40), 8, 5, 3);
  actor.SetTarget(&other);

  RunCodeText(std::string(reinterpret_cast<const char*>(data), size), &actor);
  stage->m_pHero = nullptr;
  return 0;
}
