// The editor link of a test play: the player tells the editor that started
// it when it has started and when it ends. There is no editor on Linux, so
// the link only records what it would send: dwData 1 for the start, 0 for
// the end, and the value (1 started; at the end 0 start-up failed, 1
// closed). Nothing is sent unless g_bTestPlay is set.
#pragma once

#include <vector>

#include "model/record/play_flags.h"

struct EditorNotice {
  int dwData;
  int value;
  bool operator==(const EditorNotice&) const = default;
};

void NotifyEditorStart();
void NotifyEditorExit(int value);
std::vector<EditorNotice> EditorNoticesSent();
void ClearEditorNotices();
