// Shift-JIS (CP932) text measured by characters: a lead byte followed by a
// valid trail byte is one character. Numbers read from text.
#pragma once

// True when text starts with a lead byte followed by a valid trail byte; a
// lead byte before the terminating zero is not a double-byte character.
bool IsDoubleByteChar(const char* text);

// Characters up to the terminating zero: a double-byte character counts
// once, a line feed not at all, every other byte once.
int CountChars(const char* text);

// Reads a number as atoi does (leading white space, an optional sign, the
// leading digits; 0 without any), but a value beyond the int range gives
// the nearest int limit instead of undefined behaviour.
int AtoiSaturated(const char* text);
