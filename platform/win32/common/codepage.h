#ifndef GLIMMERSET_PLATFORM_WIN32_CODEPAGE_H
#define GLIMMERSET_PLATFORM_WIN32_CODEPAGE_H

#include <string>

namespace win32 {

// Text from the show is in the Windows ANSI code page (Windows-1252); the desktop speaks UTF-8.
// Bytes that code page leaves unassigned keep their own value as a code point, as Windows does.
std::string AnsiToUtf8(const char* text);

}  // namespace win32

#endif
