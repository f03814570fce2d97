#pragma once
// A command's text result: to a file (written whole, then renamed into
// place) or, without one, to standard output. Failures are HostErrors.
#include <string>

void WriteOutputText(const std::string& path, const std::string& text);
// Whether two paths name one file, through links too; false when either is missing.
bool SameFile(const std::string& a, const std::string& b);
