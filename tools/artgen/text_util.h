// Small text helpers for the source parsers.
#pragma once

#include <string>
#include <vector>

namespace artgen {

// Splits into lines, dropping '\r' and trailing blanks. Line i of the result is line i + 1 of the file.
std::vector<std::string> SplitLines(const std::string& text);
// Splits on blanks.
std::vector<std::string> SplitWords(const std::string& line);
// Whole-string decimal integer; false if anything else is in it.
bool ParseInt(const std::string& text, int& value);
bool ParseFloat(const std::string& text, float& value);
// Reads a whole file; false when it cannot be read.
bool ReadFile(const std::string& path, std::string& out);
// Writes a whole file; false on failure.
bool WriteFile(const std::string& path, const std::string& data);

} // namespace artgen
