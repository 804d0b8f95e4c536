// VECTOR_CLONES before a function whose loops run on vectors builds it
// twice on x86-64: for AVX2, whose vectors hold twice the lanes, and for the
// baseline; the processor picks one when the program starts. Inline
// functions it calls are built into each copy. ThreadSanitizer builds take
// the baseline alone: the picking runs before its run-time is set up, and
// the instrumented picker crashes there.
#pragma once

#if defined(__SANITIZE_THREAD__)
#define VECTOR_CLONES
#elif defined(__x86_64__) && defined(__GNUC__)
#define VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VECTOR_CLONES
#endif
