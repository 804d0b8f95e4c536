// Loading the stage to be played, and the wait record of the in-stage pauses.
//
// LoadStageFile serves the calling thread's window messages once (through
// the installed message pump), then reads a stage file into g_LoadedStage
// on that thread: it would only wait for a loading thread. The file is read
// into a freshly reset stage, so that a file of an older version never keeps
// a setting of the stage loaded before it, and that stage replaces
// g_LoadedStage only when the whole file was read and it has a hero: a
// failed load leaves g_LoadedStage and the start state as they were. On
// success the start state (fields, texts, backgrounds, screen-out rules,
// ranking flags, no objects) is copied into pStart.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cEdStage;

// Serves the loading thread's pending window messages; false when that
// thread has been asked to quit (the load does not start).
using StageLoadMessagePump = std::function<bool()>;
// Installs the pump; returns the one it replaced.
StageLoadMessagePump SetStageLoadMessagePump(StageLoadMessagePump pump);

// name: the stage file, or with bFindNewest the stage whose highest numbered
// version is read. pStart: receives the start state (may be null).
// 1 when the stage was loaded, else 0 (with a message where the file was
// damaged, unreadable or has no hero).
int LoadStageFile(const char* name, int bFindNewest, cEdStage* pStart);

// 0 (after a message naming path and a request to close) when the bytes of
// a stage file of version 174 or later do not end with the end marker; 1
// otherwise, also when they are too short to hold a version (the load then
// fails).
int CheckStageEndMarker(const char* path, const std::vector<std::uint8_t>& bytes);

// What the pause loop of a stage waits for.
struct cModalWait {
  std::int32_t nKind = 0;
  std::int32_t nDelay = 0;     // frames before a key counts
  std::int32_t bWaitKey = 0;
  std::int32_t nFrames = 0;
  std::int32_t nElapsed = 0;
};

// A wait of nKind for a key or for nFrames frames. A key wait of kind 1 that
// does not follow another message ignores keys for its first 10 frames.
cModalWait SetModalWait(int nKind, int bWaitKey, int nFrames, int bFlag);
