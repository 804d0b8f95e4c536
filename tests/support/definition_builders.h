// Builders of character, shot and item definitions for tests of the game
// objects: start from a definition's defaults, set what the test is about.
//
//   cEdChara chara = CharaBuilder().Hp(100).Power(5).Impact(3).Flows({...});
//   cEdFlow flow = FlowBuilder(TRIGGER_ALWAYS).Command(CommandBuilder(CMD_WAIT).Time(15));
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/definitions/chara.h"
#include "model/definitions/command.h"
#include "model/definitions/flow.h"
#include "model/definitions/item.h"
#include "model/definitions/move.h"
#include "model/definitions/shot.h"

class CommandBuilder {
 public:
  explicit CommandBuilder(int nKind) {
    m_Command.m_nKind = static_cast<std::uint8_t>(nKind);
    m_Command.m_vParam.assign(static_cast<std::size_t>(CommandParamCount(COMMAND_SET_FLOW, nKind)), 0);
  }
  CommandBuilder& Time(int nBase, int nCoef = 0) {
    m_Command.m_nTime = static_cast<std::int16_t>(nBase);
    m_Command.m_nTimeCoef = static_cast<std::int16_t>(nCoef);
    return *this;
  }
  CommandBuilder& NoWait() {
    m_Command.m_bNoWait = 1;
    return *this;
  }
  CommandBuilder& Anime(int nAnime) {
    m_Command.m_nAnime = static_cast<std::int16_t>(nAnime);
    return *this;
  }
  CommandBuilder& Param(std::size_t i, int value) {
    if (m_Command.m_vParam.size() <= i) m_Command.m_vParam.resize(i + 1, 0);
    m_Command.m_vParam[i] = value;
    return *this;
  }
  // The command's move record, created with its defaults on first use.
  cEdMove& Move() {
    if (!m_Command.m_pMove) NewMove(m_Command.m_pMove);
    return *m_Command.m_pMove;
  }
  // The command's shot record, created with its defaults on first use.
  cEdShot& Shot() {
    if (!m_Command.m_pShot) m_Command.m_pShot = cEdShot::Create();
    return *m_Command.m_pShot;
  }
  CommandBuilder& Text(const std::string& text) {
    m_Command.m_strText = text;
    return *this;
  }
  // An item command of the kind instead (its parameters sized for it).
  CommandBuilder& AsItemCommand() {
    m_Command.m_nSet = COMMAND_SET_ITEM;
    m_Command.m_vParam.assign(static_cast<std::size_t>(CommandParamCount(COMMAND_SET_ITEM, m_Command.m_nKind)), 0);
    return *this;
  }
  operator const cEdCommand&() const { return m_Command; }
  cEdCommand& Get() { return m_Command; }

 private:
  cEdCommand m_Command;
};

class FlowBuilder {
 public:
  explicit FlowBuilder(int nTrigger) { m_Flow.m_nTrigger = static_cast<std::uint8_t>(nTrigger); }
  FlowBuilder& Command(const cEdCommand& command) {
    m_Flow.m_vCommand.push_back(command);
    return *this;
  }
  FlowBuilder& Group(int nGroup) {
    m_Flow.m_nGroup = static_cast<std::uint8_t>(nGroup);
    return *this;
  }
  FlowBuilder& Id(int nId) {
    m_Flow.m_nId = static_cast<std::uint8_t>(nId);
    return *this;
  }
  FlowBuilder& Key(const cEdKeyCondition& key) {
    m_Flow.m_vKeyCondition.push_back(key);
    return *this;
  }
  // One condition, so that the stage's condition service is asked.
  FlowBuilder& Conditioned() {
    m_Flow.m_vCondition.resize(1);
    return *this;
  }
  operator const cEdFlow&() const { return m_Flow; }

 private:
  cEdFlow m_Flow;
};

class CharaBuilder {
 public:
  CharaBuilder() { m_Chara.m_nGraphicNo = 1; }
  CharaBuilder& Hero() {
    m_Chara.m_nControl = 0;
    m_Chara.m_nTeam = 0;
    return *this;
  }
  CharaBuilder& Hp(int nMax) {
    m_Chara.m_nMaxHP = nMax;
    return *this;
  }
  CharaBuilder& Sp(int nMax) {
    m_Chara.m_nMaxSP = nMax;
    return *this;
  }
  CharaBuilder& Power(int nPower) {
    m_Chara.m_nPower = nPower;
    return *this;
  }
  CharaBuilder& Defense(int nDefense) {
    m_Chara.m_nDefense = nDefense;
    return *this;
  }
  CharaBuilder& Impact(int nImpact, int nResist = 0) {
    m_Chara.m_nImpact = static_cast<std::int8_t>(nImpact);
    m_Chara.m_nImpactResist = static_cast<std::uint8_t>(nResist);
    return *this;
  }
  CharaBuilder& Invincible(int nMode) {
    m_Chara.m_nInvincible = static_cast<std::uint8_t>(nMode);
    return *this;
  }
  CharaBuilder& Flying(int nType) {
    m_Chara.m_nFlying = static_cast<std::uint8_t>(nType);
    return *this;
  }
  CharaBuilder& Scale(int nScale) {
    m_Chara.m_nScale = static_cast<std::uint8_t>(nScale);
    return *this;
  }
  CharaBuilder& Score(int nScore) {
    m_Chara.m_nScore = nScore;
    return *this;
  }
  CharaBuilder& Team(int nTeam) {
    m_Chara.m_nTeam = static_cast<std::uint8_t>(nTeam);
    return *this;
  }
  CharaBuilder& DeathEffect(int nEffect) {
    m_Chara.m_nDeathEffect = static_cast<std::int16_t>(nEffect);
    return *this;
  }
  CharaBuilder& Flow(const cEdFlow& flow) {
    m_Chara.m_vFlow.push_back(flow);
    return *this;
  }
  operator const cEdChara&() const { return m_Chara; }
  cEdChara& Get() { return m_Chara; }

 private:
  cEdChara m_Chara;
};

class ShotBuilder {
 public:
  ShotBuilder& Power(int nPower) {
    m_Shot.m_nPower = nPower;
    return *this;
  }
  ShotBuilder& Impact(int nImpact) {
    m_Shot.m_nImpact = static_cast<std::int8_t>(nImpact);
    return *this;
  }
  ShotBuilder& Size(int nSize) {
    m_Shot.m_nSize = static_cast<std::uint8_t>(nSize);
    return *this;
  }
  operator const cEdShot&() const { return m_Shot; }

 private:
  cEdShot m_Shot;
};

class ItemBuilder {
 public:
  ItemBuilder& Graphic(int nGraphicNo) {
    m_Item.m_nGraphicNo = static_cast<std::int16_t>(nGraphicNo);
    return *this;
  }
  operator const cEdItem&() const { return m_Item; }

 private:
  cEdItem m_Item;
};
