// Numbers as host scripts write them: plain decimals, an optional minus sign, digits and an
// optional fraction ("-12", "20.5"). No exponent, hexadecimal, inf or nan, and no more digits
// than a step can mean, so that a number always reads as what it shows.
#pragma once

#include <string>

// A whole number of at most nine digits, or false (and `value` left alone).
bool ReadInteger(const std::string& word, long* value);
// A plain decimal of at most nine digits before the point and nine after, or false.
bool ReadNumber(const std::string& word, double* value);
