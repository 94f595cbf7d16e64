#pragma once
// Message boxes of the POSIX Env without a window system: drawn on the
// controlling terminal, or printed on standard error when there is none.

#include <optional>
#include <string>
#include <string_view>

namespace platform::posix {

// The box as plain text: title, the text (its LF CR / CR LF breaks as line
// breaks) and the buttons with the default one in asterisks.
std::string BoxAsText(std::string_view text, std::string_view title, int flags);

// Draws the box on /dev/tty and reads the answer (Enter takes the default;
// y/yes, n/no, o/ok in any letter case choose a button of the box). Nullopt
// when the process has no controlling terminal.
std::optional<int> AskOnTerminal(std::string_view text, std::string_view title, int flags);

// Prints the box and the answer taken on standard error.
void PrintOnStandardError(std::string_view text, std::string_view title, int flags, int answer);

}  // namespace platform::posix
