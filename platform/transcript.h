// The transcript of a run: one line for each box, dialog and its answer (and
// for what other services choose to note), in UTF-8, written to the file
// that PLAYER_TRANSCRIPT names. End-to-end tests read it. Without that
// variable nothing is written. Lines are written whole from any thread.
#pragma once

#include <string_view>

namespace platform {

// Appends one line (a line break is added).
void TranscriptLine(std::string_view utf8);

// Writes the transcript to this file from now on (tests); empty: none.
void SetTranscriptFile(std::string_view path);

}  // namespace platform
