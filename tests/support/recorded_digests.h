// Per-frame state digests compared with a recording kept in the tree.
//
// A recording lives in tests/goldens/digests/NAME.txt: a line "FRAME HASH"
// for every frame (HASH: 64-bit FNV-1a of the frame's digest text, in hex),
// and every 60th frame the digest text itself on the next line, indented, so
// that a reader of the file (or of its diff) sees what the state was.
// A mismatch fails naming the first frame that differs, with the recorded
// and the actual digest text nearest before it, and writes the actual
// recording to build/.../tests/golden-diffs/digests/NAME.txt for a diff.
// Running the tests with UPDATE_DIGESTS=1 writes the frames as the new
// recording instead.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// `frames[i]` is the digest text of frame i + 1; `header` is written as the
// recording's first lines ('#' comments: where it comes from).
testing::AssertionResult MatchesRecordedDigests(const std::vector<std::string>& frames, const std::string& name,
                                                const std::string& header);
