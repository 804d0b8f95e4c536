// The stage files of the demo project, as the player names them: relative
// to the project folder, '\' separators, the stage extension with the
// number of the file's version.
//
// The challenge stage and its follow-on part carry the names the stage
// select and the next-part lookup build ("c" + two digits + "-" + part);
// the story stage is named by the world map; the free stage is opened as
// a file.
#pragma once

namespace demo {

inline constexpr const char* kStoryStageFile = "data\\stg4\\story01.stg4_000";
inline constexpr const char* kChallengeStageFile = "data\\stg4\\c01-1.stg4_000";
inline constexpr const char* kChallengePart2File = "data\\stg4\\c01-2.stg4_000";
inline constexpr const char* kFreeStageFile = "data\\stg4\\free01.stg4_000";

// Challenge stages of the project.
inline constexpr int kChallengeStageCount = 1;

}  // namespace demo
