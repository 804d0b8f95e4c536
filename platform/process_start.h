// How long this process has run, measured from the start time the kernel
// keeps for it (field 22 of /proc/self/stat: clock ticks since boot), so
// that the time before main (loading the program and its libraries, static
// constructors) counts too. The kernel's time is rounded down to a tick
// (10 ms at the usual 100 ticks a second), so the figure may be up to a
// tick long.
#pragma once

namespace platform {

// Milliseconds from the process's start to now on the boot clock; -1 when
// /proc/self/stat cannot be read.
double MillisecondsSinceProcessStart();

}  // namespace platform
