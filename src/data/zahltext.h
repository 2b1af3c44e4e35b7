#pragma once
// Numbers typed as text: trimming and parsing as the tables and the settings
// accept them.

#include <cstdint>
#include <optional>
#include <string>

// The text without leading and trailing blanks and tabs.
std::string ohne_raender(const std::string& s);
// A whole text as a number; a decimal comma is accepted when there is no point.
std::optional<double> lies_zahl(const std::string& text);
// A whole text as a 32-bit integer.
std::optional<int32_t> lies_ganzzahl(const std::string& text);
