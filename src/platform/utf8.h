#pragma once
// UTF-8 encoding of single code points, shared by every text conversion.

#include <string>

namespace platform {

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t code_point);

}  // namespace platform
