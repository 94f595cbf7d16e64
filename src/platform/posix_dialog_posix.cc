#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/env.h"
#include "platform/message_box_rules.h"
#include "platform/posix_dialog.h"
#include "platform/posix_io.h"
#include "platform/windows1252.h"

namespace platform::posix {
namespace {

bool IsYesNo(int flags) {
  return (flags & 0xF) == mb::kYesNo;
}

std::optional<int> AnswerFromKey(std::string_view typed, int flags) {
  const std::string word = UpperCase(typed);
  std::optional<int> answer;
  if (word == "Y" || word == "YES") answer = mb::kIdYes;
  if (word == "N" || word == "NO") answer = mb::kIdNo;
  if (word == "O" || word == "OK") answer = mb::kIdOk;
  if (answer && !BoxOffers(flags, *answer)) return std::nullopt;
  return answer;
}

// One line typed on the terminal without its line end; nullopt at end of input.
std::optional<std::string> ReadLine(int fd) {
  std::string line;
  char c;
  while (true) {
    const ssize_t got = ::read(fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return line.empty() ? std::nullopt : std::optional<std::string>(line);
    if (c == '\n' || c == '\r') return line;
    line += c;
  }
}

std::string Trimmed(std::string line) {
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
  std::size_t first = 0;
  while (first < line.size() && (line[first] == ' ' || line[first] == '\t')) ++first;
  return line.substr(first);
}

}  // namespace

std::string BoxAsText(std::string_view text, std::string_view title, int flags) {
  std::string out = "=== " + std::string(title) + " ===\n";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      out += c;
      continue;
    }
    out += '\n';
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if ((next == '\r' || next == '\n') && next != c) ++i;  // LF CR or CR LF: one break
  }
  out += '\n';
  if (IsYesNo(flags)) {
    out += DefaultAnswer(flags) == mb::kIdYes ? "[*Yes*]  [ No ]\n" : "[ Yes ]  [*No*]\n";
  } else {
    out += "[*OK*]\n";
  }
  return out;
}

std::optional<int> AskOnTerminal(std::string_view text, std::string_view title, int flags) {
  UniqueFd tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!tty.valid()) return std::nullopt;
  const std::string box = "\n" + BoxAsText(text, title, flags);
  const std::string prompt = IsYesNo(flags) ? "Yes or No (Enter = default)? " : "Press Enter: ";
  try {
    WriteAll(tty.get(), box, "/dev/tty");
    while (true) {
      WriteAll(tty.get(), prompt, "/dev/tty");
      const std::optional<std::string> line = ReadLine(tty.get());
      if (!line) return DefaultAnswer(flags);
      const std::string typed = Trimmed(*line);
      if (typed.empty()) return DefaultAnswer(flags);
      if (const auto answer = AnswerFromKey(typed, flags)) return answer;
    }
  } catch (const Failure&) {
    return std::nullopt;  // the terminal went away: fall back to standard error
  }
}

void PrintOnStandardError(std::string_view text, std::string_view title, int flags, int answer) {
  const std::string box = BoxAsText(text, title, flags) + "-> " + std::string(AnswerWord(answer)) +
                          " (no terminal: default button)\n";
  std::fwrite(box.data(), 1, box.size(), stderr);
  std::fflush(stderr);
}

}  // namespace platform::posix
