#pragma once
// What every Env agrees on about message boxes: the default button of a set
// of flags, the answer words of automation (yes, no, ok) and the transcript
// line that records one box.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The button that Enter (or no one) chooses: OK for an OK box; Yes for a
// Yes/No box, No when the second button is the default.
int DefaultAnswer(int flags);

// True when a box with these flags offers the answer.
bool BoxOffers(int flags, int answer);

// "yes", "no", "ok" (any letter case, blanks around allowed) -> ID* value.
std::optional<int> AnswerFromWord(std::string_view word);
// ID* value -> "yes", "no" or "ok".
std::string_view AnswerWord(int answer);

// A comma-separated list of answer words; an unknown word stays in the list
// as nullopt so that it still uses up its box (which then takes its default).
std::vector<std::optional<int>> ParseAnswerList(std::string_view list);

// One box as a JSON object on one line, ending with a line feed:
// {"title":...,"flags":N,"text":...,"answer":"yes|no|ok"}
std::string TranscriptLine(std::string_view text, std::string_view title, int flags, int answer);

// A text as a JSON string literal (with the quotes); control characters,
// quote and backslash escaped, other bytes as they are.
std::string JsonQuoted(std::string_view text);

}  // namespace platform
