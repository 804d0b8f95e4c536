// Key conditions: sequences of key states matched backwards in time over the
// hero's key-change logs, with a timing tolerance between the steps and
// edge detection between tests.
#include <algorithm>
#include <utility>

#include "base/checked_access.h"
#include "game/objects/actor.h"
#include "model/definitions/flow.h"

namespace {

constexpr int kDirectionLogs = 10;

cInputState& HeroInput() { return CheckedAt(g_InputStates, 0); }

// Log i of the 19: ten directions, then no button and buttons 1 to 8.
const std::vector<KEYCHANGE>& KeyLog(const cInputState& input, int i) {
  if (i < kDirectionLogs) return CheckedAt(input.vecDirKeyLog, i);
  return CheckedAt(input.vecButtonKeyLog, i - kDirectionLogs);
}

// Left and right, up-left and up-right, down-left and down-right exchanged.
int MirroredLog(int i) {
  switch (i) {
    case 1: return 2;
    case 2: return 1;
    case 5: return 7;
    case 7: return 5;
    case 6: return 8;
    case 8: return 6;
    default: return i;
  }
}

// The actor whose flows are being run: its facing mirrors the keys.
cActor& RunningActor(cActor& self) {
  return g_pStageScene && g_pStageScene->m_pCurActor ? *g_pStageScene->m_pCurActor : self;
}

// The rule that decides a key condition from its matches and misses.
bool KeyModeHolds(int nMode, int nMatches, int nMisses) {
  switch (nMode) {
    case 1: return nMatches > 0;
    case 2: return nMatches == 1;
    default: return nMisses == 0;
  }
}

}  // namespace

bool cActor::CheckKeyConditions(cFlowInstance& flow) {
  const cEdFlow& def = *flow.m_pFlow;
  if (def.m_vKeyCondition.empty()) return true;
  const bool bMatched = MatchKeySequence(def.m_vKeyCondition, def.m_nKeyTolerance);
  if (def.m_bKeyRepeat) return bMatched;
  if (!bMatched) {
    flow.m_bKeyHeld = 0;
    return false;
  }
  const bool bHeldBefore = flow.m_bKeyHeld != 0;
  flow.m_bKeyHeld = 1;
  if (!bHeldBefore) return true;
  // Still held: the group's later flows stay shut out for this frame.
  if (def.m_nTrigger == TRIGGER_ALWAYS && def.m_nGroup != 0) {
    CheckedAt(RunningActor(*this).m_vGroupRunning, def.m_nGroup) = 1;
    CheckedAt(m_vGroupStopped, def.m_nGroup) = 1;
    m_bGroupStopped = 1;
  }
  return false;
}

bool cActor::MatchKeySequence(const std::vector<cEdKeyCondition>& keys, int nTolerance) {
  sKeyCursor cursor;
  cursor.pInput = &HeroInput();
  for (int i = 0; i < KEY_STATE_COUNT; ++i) cursor.anCount[i] = KeyLog(*cursor.pInput, i).front().nFrames;
  const int nLast = static_cast<int>(keys.size()) - 1;
  for (int n = nLast; n >= 0; --n) {
    const cEdKeyCondition& key = keys[static_cast<std::size_t>(n)];
    int nDuration = 0;
    if (!MatchKeyCondition(key, cursor, nDuration)) {
      // The last step must hold now; an earlier one may lie up to the
      // tolerance further back, or failing that one frame later.
      if (n == nLast || nTolerance == 0) return false;
      bool bMatched = false;
      int nMoved = 0;
      while (nMoved < nTolerance && !bMatched) {
        ShiftKeyCursor(cursor, -1);
        ++nMoved;
        bMatched = MatchKeyCondition(key, cursor, nDuration);
      }
      if (!bMatched) {
        ShiftKeyCursor(cursor, nMoved);
        ShiftKeyCursor(cursor, 1);
        if (!MatchKeyCondition(key, cursor, nDuration)) return false;
      }
    }
    if (n > 0) ShiftKeyCursor(cursor, -nDuration);
  }
  return nLast >= 0;
}

bool cActor::MatchKeyCondition(const cEdKeyCondition& key, sKeyCursor& cursor, int& nDuration) {
  const bool bMirror = key.m_bFacingRelative && RunningActor(*this).m_nFacing == 0;
  int nMatches = 0;
  int nMisses = 0;
  nDuration = 0;
  for (std::size_t i = 0; i < key.m_vKeyState.size(); ++i) {
    const int nState = key.m_vKeyState[i];
    if (nState == KEY_IGNORED) continue;
    int nLog = static_cast<int>(i);
    if (bMirror && nLog < kDirectionLogs) nLog = MirroredLog(nLog);
    // A list longer than the logs was reported by KeyLog; its extra keys
    // read the last log's place.
    const int nSlot = std::min(nLog, KEY_STATE_COUNT - 1);
    const int nCount = cursor.anCount[nSlot];
    const KEYCHANGE& entry = CheckedAt(KeyLog(*cursor.pInput, nLog), cursor.anPos[nSlot]);
    if (!TestKeyState(key, entry, nCount, nState)) {
      ++nMisses;
      continue;
    }
    ++nMatches;
    switch (key.m_nKeyMode) {
      case 1: nDuration = std::max(nDuration, nCount); break;
      case 2: nDuration = nCount; break;
      default: nDuration = nDuration == 0 ? nCount : std::min(nDuration, nCount); break;
    }
    if (key.m_nKeyMode == 1) break;
  }
  return KeyModeHolds(key.m_nKeyMode, nMatches, nMisses);
}

bool cActor::TestKeyState(const cEdKeyCondition& key, const KEYCHANGE& entry, int nCount, int nState) {
  if (nState == KEY_PRESSED) {
    if (!entry.bPressed) return false;
    return key.m_bAnyHold ? nCount >= 1 : key.m_nHoldMin <= nCount && nCount <= key.m_nHoldMax;
  }
  if (nState == KEY_RELEASED) return !entry.bPressed && nCount >= 1;
  return false;
}

void cActor::ShiftKeyCursor(sKeyCursor& cursor, int n) {
  for (int i = 0; i < KEY_STATE_COUNT; ++i) {
    const std::vector<KEYCHANGE>& log = KeyLog(*cursor.pInput, i);
    const int nLast = static_cast<int>(log.size()) - 1;
    int& pos = cursor.anPos[i];
    int& count = cursor.anCount[i];
    if (n <= 0) {
      count += n;
      while (count < 0 && pos < nLast) count += log[static_cast<std::size_t>(++pos)].nFrames;
      if (count == 0 && pos < nLast) count = log[static_cast<std::size_t>(++pos)].nFrames;
    } else {
      count += n;
      // Entering a newer entry takes off that entry's frames.
      while (count > log[static_cast<std::size_t>(pos)].nFrames && pos > 0)
        count -= log[static_cast<std::size_t>(--pos)].nFrames;
    }
  }
}

bool cActor::TestKeyConditionNow(cInputState& input, const cEdKeyCondition& key) {
  int nMatches = 0;
  int nMisses = 0;
  for (std::size_t i = 0; i < key.m_vKeyState.size(); ++i) {
    const int nState = key.m_vKeyState[i];
    if (nState == KEY_IGNORED) continue;
    const bool bPressed = KeyLog(input, static_cast<int>(i)).front().bPressed != 0;
    if ((nState == KEY_PRESSED && bPressed) || (nState == KEY_RELEASED && !bPressed)) {
      ++nMatches;
      if (key.m_nKeyMode == 1) break;
    } else {
      ++nMisses;
    }
  }
  return KeyModeHolds(key.m_nKeyMode, nMatches, nMisses);
}
