#pragma once
// UTF-8 <-> UTF-16 for logs, XML and the command line. Invalid input becomes
// U+FFFD rather than failing: these strings come from broadcasts and files.
#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
