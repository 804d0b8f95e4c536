// The scene protocol every scene follows. A scene runs one state a frame
// from its state table: state 0 fades in, the last state fades out and hands
// over to the next scene, the states between are the scene's own. Before
// state 0 runs, Enter runs once (m_nState is SCENE_STATE_ENTER until then).
#pragma once

#include <cstdint>
#include <vector>

enum eSceneKind {
  SCENE_TITLE = 0,
  SCENE_WORLDMAP = 1,
  SCENE_STORYMENU = 2,
  SCENE_STAGESELECT = 3,
  SCENE_STAGE = 4,
  SCENE_OPTION = 5,
};
constexpr int SCENE_KIND_COUNT = 6;
constexpr int SCENE_STATE_ENTER = -1;

class cScene {
 public:
  using State = void (cScene::*)();

  virtual ~cScene() = default;
  virtual void Frame() {}
  virtual void Enter() {}
  virtual void FadeIn() {}
  virtual void Leave() {}

  std::int32_t m_nState = SCENE_STATE_ENTER;
  std::int32_t m_nStep = 0;

 protected:
  // The scene's frame: Enter once (a thrown error is logged and the window
  // asked to close; the scene still goes to state 0), then the current state.
  void RunFrame();
  // Entry 0 calls FadeIn and the last entry Leave; a scene puts its own
  // states between them with SetStates.
  void SetStates(std::vector<State> ownStates);
  int LastState() const { return static_cast<int>(m_vStates.size()) - 1; }

 private:
  void CallFadeIn() { FadeIn(); }
  void CallLeave() { Leave(); }
  std::vector<State> m_vStates{&cScene::CallFadeIn, &cScene::CallLeave};
};
