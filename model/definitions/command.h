// Commands: the steps of a flow and the commands an item runs when taken.
//
// A command has a set (flow or item command) and a kind, timing, a sound and
// an animation, int32 parameters, a text, an optional movement record, an
// optional shot record and a list of flows. Loading upgrades the parameter
// layouts of old files; validation fits the parameter count to the kind's
// entry in the command table and repairs references into the database and
// the palettes. A copied command owns copies of the source's movement and
// shot records: two commands never share one. A file that nests commands in
// flows in commands more than eight deep is refused as damaged.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/definitions/move.h"
#include "model/record/record.h"
#include "model/definitions/shot.h"

class cEdFlow;

enum eFlowCommand {
  CMD_NONE,
  CMD_WAIT,
  CMD_MOVE_STRAIGHT,
  CMD_MOVE_GROUND_TURN,
  CMD_MOVE_CIRCLE,
  CMD_MOVE_CHARGE,
  CMD_MOVE_HOMING,
  CMD_MOVE_AVOID_OFFSCREEN,
  CMD_STOP_MOVE,
  CMD_TURN,
  CMD_JUMP,
  CMD_SHOT,
  CMD_SWORD,
  CMD_SUMMON_BLOCK,
  CMD_SUMMON_CHARACTER,
  CMD_SUMMON_ITEM,
  CMD_FLOW_CONTROL,
  CMD_STAGE_CLEAR,
  CMD_GAME_WAIT,
  CMD_MESSAGE,
  CMD_WARP,
  CMD_SET_TARGET,
  CMD_STATUS_OPERATION,
  CMD_STATUS_OPERATION2,
  CMD_GET_ITEM,
  CMD_CHANGE_GRAPHIC,
  CMD_CHANGE_BASE_ANIME_SET,
  CMD_PLAY_ANIME,
  CMD_PLAY_EFFECT,
  CMD_PLAY_CHARA_EFFECT,
  CMD_PLAY_SCREEN_EFFECT,
  CMD_SHOW_PICTURE,
  CMD_CHANGE_SCREEN_COLOR,
  CMD_CHANGE_BACKGROUND,
  CMD_PLAY_SOUND,
  CMD_PLAY_BGM,
  CMD_RUN_CODE,
  FLOW_COMMAND_COUNT
};

// The command sets of m_nSet.
enum eCommandSet { COMMAND_SET_FLOW, COMMAND_SET_ITEM };

// The name and parameter count of one command kind.
struct cEdCommandInfo {
  constexpr cEdCommandInfo(const char* name, std::int32_t count) : m_pszName(name), m_nParamCount(count) {}
  const char* m_pszName;
  std::int32_t m_nParamCount;
};

extern const std::array<cEdCommandInfo, FLOW_COMMAND_COUNT> g_FlowCommandInfo;

// The parameter count of a kind of a set; 0 for a kind outside its table.
int CommandParamCount(int nSet, int nKind);

class cEdCommand : public cEdRecordOf<cEdCommand> {
 public:
  cEdCommand();
  cEdCommand(const cEdCommand& src);
  cEdCommand(cEdCommand&& src) noexcept;
  cEdCommand& operator=(const cEdCommand& src);
  cEdCommand& operator=(cEdCommand&& src) noexcept;
  ~cEdCommand() override;

  void Reset();
  void DeclareFields(int nVersion) override;
  bool Load(cDataReader& f) override;
  void Save(cDataWriter& f) override;
  void VisitTail(cRecordVisitor& v) override;
  void Validate();
  void ValidatePaletteRefs();

  std::uint8_t m_nSet = 0;
  std::uint8_t m_nKind = 0;
  std::vector<std::int32_t> m_vParam;
  std::string m_strText;
  std::shared_ptr<cEdMove> m_pMove;
  std::shared_ptr<cEdShot> m_pShot;
  std::int16_t m_nTime = 0;
  std::int16_t m_nTimeCoef = 0;
  std::uint8_t m_bNoWait = 0;
  std::int16_t m_nSound = 0;
  std::uint8_t m_bSoundOnScreen = 0;
  std::int16_t m_nAnime = 0;
  std::vector<cEdFlow> m_vFlow;

 private:
  void UpgradeParams();
  void CopyMembers(const cEdCommand& src);
};

bool LoadCommandList(std::vector<cEdCommand>& list, cDataReader& f);

// The command's flow list needs the complete flow.
#include "model/definitions/flow.h"
