#include "scenes/scene.h"

#include <exception>

#include "base/checked_access.h"
#include "base/report.h"

void cScene::RunFrame() {
  if (m_nState == SCENE_STATE_ENTER) {
    try {
      Enter();
    } catch (const std::exception& error) {
      ErrorLogAndClose("%s", error.what());
    }
    m_nState = 0;
  }
  const State state = CheckedAt(m_vStates, m_nState);
  (this->*state)();
}

void cScene::SetStates(std::vector<State> ownStates) {
  m_vStates.assign(1, &cScene::CallFadeIn);
  m_vStates.insert(m_vStates.end(), ownStates.begin(), ownStates.end());
  m_vStates.push_back(&cScene::CallLeave);
}
