// The actor's side of the flow engine: frame flags, trigger keys, lead-in
// animations, the shared flow step, and removing, copying and relinking
// flows.
#include <utility>

#include "base/checked_access.h"
#include "base/input_state.h"
#include "game/core/numeric.h"
#include "game/data/database_tables.h"
#include "game/objects/actor.h"

void cActor::ResetFlowFrameFlags() {
  for (cFlowInstance& flow : m_vFlows) {
    flow.m_bFiredThisFrame = 0;
    flow.m_bStartedThisFrame = 0;
  }
  FillVector<std::uint8_t>(m_vGroupStarted, 0);
}

int cActor::GetTriggerKey(const cInputState& input) {
  for (std::size_t i = 0; i < input.vecDirKeyLog.size() && i < 10; ++i) {
    const std::vector<KEYCHANGE>& log = input.vecDirKeyLog[i];
    if (!log.empty() && log.front().bPressed) return static_cast<int>(i);
  }
  return 0;
}

void cActor::StartAnimeRequests() {
  for (const cFlowInstance& flow : m_vFlows) {
    if (!flow.m_bRunning || flow.m_bPaused) continue;
    for (const ANIMEREQ& request : flow.m_vAnimeRequests) {
      if (request.nStart != flow.m_nFrames) continue;
      FrameTable table = CheckedAt(g_AnimeFrameTables, request.nAnime);
      if (request.nHold >= 2 && request.bExtendHold) {
        // The hold frame stays for the command's whole duration.
        for (SEQFRAME& row : table) {
          if (!row.bFlag) continue;
          row.nDuration = CapToInt(static_cast<std::int64_t>(row.nDuration) + request.nHold - 1);
          break;
        }
      }
      sOverlayAnime& overlay = m_Overlays.emplace_back();
      overlay.bPriority = 1;
      overlay.nDelay = request.nLength;
      overlay.nValue = request.nHold;
      overlay.nSerial = flow.m_nSerial;
      overlay.m_Anime.Assign({std::move(table)});
      overlay.m_Anime.Play(0, true);
      // The part of the lead-in that the commands before could not cover.
      overlay.m_Anime.AdvanceTick(request.nSkip);
    }
  }
}

int cActor::StepFlows(bool bDeathOnly, bool bVanishEnds) {
  StartAnimeRequests();
  for (std::size_t i = 0; i < m_vFlows.size(); ++i) {
    cFlowInstance& flow = m_vFlows[i];
    if (!flow.m_bRunning) continue;
    if (flow.m_vCommands.empty()) {
      flow.Stop(*this);
      continue;
    }
    if (flow.m_bPaused || flow.m_bStoppedForGood) continue;
    const bool deathFlow = flow.m_nTrigger == TRIGGER_DEATH;
    if (bDeathOnly && !deathFlow) continue;
    if (flow.Step()) flow.Stop(*this);
    if (bVanishEnds && m_bVanish) return 1;
    if (!bDeathOnly && !deathFlow && m_nHp <= 0) return 1;
  }
  return 0;
}

void cActor::EndFlowStep() {
  if (m_bFlowDeleted) {
    for (int i = 0; i < static_cast<int>(m_vFlows.size());) {
      if (m_vFlows[static_cast<std::size_t>(i)].m_bDelete) {
        RemoveFlow(i);
      } else {
        ++i;
      }
    }
    m_bFlowDeleted = 0;
  }
  if (m_bGroupStopped) {
    for (std::size_t g = 0; g < m_vGroupStopped.size() && g < m_vGroupRunning.size(); ++g) {
      if (!m_vGroupStopped[g]) continue;
      m_vGroupRunning[g] = 0;
      m_vGroupStopped[g] = 0;
    }
    m_bGroupStopped = 0;
  }
}

void cActor::RemoveFlow(int nIndex) {
  if (nIndex < 0 || static_cast<std::size_t>(nIndex) >= m_vFlows.size()) {
    // Reported as a bad index; no other flow is removed in its place.
    ReportBadIndex("V", nIndex, m_vFlows.size(), sizeof(cFlowInstance));
    return;
  }
  cFlowInstance& flow = m_vFlows[static_cast<std::size_t>(nIndex)];
  flow.Stop(*this);
  RemoveOverlaysOfFlow(flow.m_nSerial);
  m_vFlows.erase(m_vFlows.begin() + nIndex);
  if (nIndex < static_cast<int>(m_Chara.m_vFlow.size())) m_Chara.m_vFlow.erase(m_Chara.m_vFlow.begin() + nIndex);
  RelinkFlows();
}

int cActor::RemoveFlowsById(int nId) {
  if (nId == 0) {
    for (cFlowInstance& flow : m_vFlows) flow.Stop(*this);
    m_vFlows.clear();
    m_Chara.m_vFlow.clear();
    m_Overlays.clear();
    return 0;
  }
  int first = -1;
  for (int i = 0; i < static_cast<int>(m_vFlows.size());) {
    const int id = m_vFlows[static_cast<std::size_t>(i)].m_pFlow->m_nId;
    if (id == 0 || id != nId) {
      ++i;
      continue;
    }
    // The next flow has moved to this index.
    RemoveFlow(i);
    if (first < 0) first = i;
  }
  return first;
}

void cActor::AssignFlows(const std::vector<cFlowInstance>& flows) {
  m_vFlows = flows;
  RelinkFlows();
}
