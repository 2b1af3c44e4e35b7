#pragma once
// Windows-1252 text of the result files. Strings are UTF-8 inside the program;
// result and control files hold one byte per character in Windows-1252.

#include <string>
#include <string_view>

// UTF-8 to Windows-1252. A character that Windows-1252 cannot hold, and every
// byte that is not valid UTF-8, becomes '?'.
std::string utf8_nach_cp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// number, as Windows does, so every byte string converts.
std::string cp1252_nach_utf8(std::string_view cp1252);
