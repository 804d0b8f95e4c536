// The read-only cases on the real file layer. Root ignores file modes, so a
// test run as root does such a case in a child process that has given up
// the powers that override modes (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH,
// CAP_FOWNER), also for the programs that child starts; any other user is
// bound by modes already.
#pragma once

#include <functional>

// Runs `work` in a forked child bound by file modes and gives the child's
// exit status: work's answer, or 1 when a GoogleTest assertion failed in
// the child (the failure is printed there). kNotBound when root could not
// give the powers up; the caller then skips with kNotBoundMessage.
int RunBoundByFileModes(const std::function<int()>& work);

constexpr int kNotBound = 125;
inline const char* const kNotBoundMessage =
    "run as root, and root here cannot give up overriding file modes: the read-only case is skipped";
