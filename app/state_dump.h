// PLAYER_DUMP_STATE: the state of the run when the player closes, as one
// JSON object: "frame" (frames presented), "scene" (the kind's name:
// "title", "worldmap", "storymenu", "stageselect", "stage", "option"),
// "state" (the running scene's state, -1 when no scene runs), "prev_scene",
// "play_mode", "play_start", "stage_file" (the progress's stage file), and
// the run's figures "first_frame_ms" (from the process's start, as the
// kernel counts it, to its first frame shown: presented headless, on the
// screen in a window) and "peak_rss_kb" (the most memory held resident);
// while a stage plays, "stage": its state digest (scenes/stage/stage_digest.h).
#pragma once

#include <string>

std::string StateDumpJson();
// Writes StateDumpJson to a Linux path; false (reported) when it cannot.
bool WriteStateDump(const std::string& path);

// PLAYER_DUMP_DIGESTS: appends the running stage's digest as one line to
// the file at a Linux path (made empty by the first call); nothing while no
// stage runs. False (reported once) when the file cannot be written.
bool AppendStageDigestLine(const std::string& path);
