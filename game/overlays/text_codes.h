// Codes in message texts that show a variable's current value.
//
// A code is "#", then the variable number's digits and "C" (common
// variable) or "S" (stage variable of the running stage) in any order, then
// optionally "_" and options: a digit sets the minimum width (the last digit
// counts), "P" asks for a plus sign, "Z" for zero padding. Any other
// character ends the code; a "." ending it is part of the code. Letters are
// matched in either case. A code with C or S and a number of 1 to 255 is
// replaced by the value: at least the width in digits, leading zeros shown
// as spaces unless zero padding is asked for, a "-" or (asked for) "+" in
// front. Other codes stay as they are. A number too large for an int counts
// as the largest int (so the code stays). Shift-JIS characters never start
// or belong to a code.
#pragma once

#include <string>

void ExpandTextCodes(std::string& text);
