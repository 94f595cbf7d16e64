#pragma once
// Windows-1252, the single-byte code page of every profile file, the CFG file
// and the log files, and the letter-case rule the program compares texts with.
//
// Internal text is UTF-8. The five bytes that Windows-1252 leaves undefined
// (0x81 0x8D 0x8F 0x90 0x9D) stand for the code points U+0081 ... U+009D, so
// that every byte converts to UTF-8 and back unchanged.

#include <string>
#include <string_view>

namespace platform {

// Each byte as its Windows-1252 character, in UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// Each character as its Windows-1252 byte; a character the code page cannot
// hold, and each byte of malformed UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// The capital of one Windows-1252 byte: a-z, the letters 0xE0-0xFE except the
// division sign 0xF7, and s/z caron, oe, y diaeresis; every other byte as it is.
char UpperCaseWindows1252(char byte);

// Upper-cases every letter of the Windows-1252 repertoire, one character for
// one character (sharp s stays); everything else, malformed bytes included,
// unchanged.
std::string UpperCase(std::string_view utf8);

// True when both texts are equal after upper-casing both.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The same for Windows-1252 byte texts.
bool EqualsIgnoringCaseWindows1252(std::string_view a, std::string_view b);

}  // namespace platform
