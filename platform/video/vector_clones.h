// VECTOR_CLONES before a function whose loops run on vectors builds it
// twice on x86-64: for AVX2, whose vectors hold twice the lanes, and for the
// baseline; the processor picks one when the program starts. Inline
// functions it calls are built into each copy.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__)
#define VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VECTOR_CLONES
#endif
