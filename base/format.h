// printf-style formatting into a std::string, of any length.
#pragma once

#include <cstdarg>
#include <string>

void FormatString(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
std::string FormatStringV(const char* format, va_list args);
