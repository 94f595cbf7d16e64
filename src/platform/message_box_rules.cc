#include "platform/message_box_rules.h"

#include <cstdio>

#include "platform/env.h"
#include "platform/windows1252.h"

namespace platform {
namespace {

constexpr int kButtonMask = 0xF;
constexpr int kDefaultButtonMask = 0xF00;

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

int DefaultAnswer(int flags) {
  if ((flags & kButtonMask) != mb::kYesNo) return mb::kIdOk;
  return (flags & kDefaultButtonMask) == mb::kDefButton2 ? mb::kIdNo : mb::kIdYes;
}

bool BoxOffers(int flags, int answer) {
  if ((flags & kButtonMask) == mb::kYesNo) return answer == mb::kIdYes || answer == mb::kIdNo;
  return answer == mb::kIdOk;
}

std::optional<int> AnswerFromWord(std::string_view word) {
  const std::string upper = UpperCase(Trimmed(word));
  if (upper == "YES") return mb::kIdYes;
  if (upper == "NO") return mb::kIdNo;
  if (upper == "OK") return mb::kIdOk;
  return std::nullopt;
}

std::string_view AnswerWord(int answer) {
  switch (answer) {
    case mb::kIdYes:
      return "yes";
    case mb::kIdNo:
      return "no";
    default:
      return "ok";
  }
}

std::vector<std::optional<int>> ParseAnswerList(std::string_view list) {
  std::vector<std::optional<int>> answers;
  if (Trimmed(list).empty()) return answers;
  while (true) {
    const std::size_t comma = list.find(',');
    answers.push_back(AnswerFromWord(list.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return answers;
}

std::string JsonQuoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string TranscriptLine(std::string_view text, std::string_view title, int flags, int answer) {
  std::string line = "{\"title\":" + JsonQuoted(title);
  line += ",\"flags\":" + std::to_string(flags);
  line += ",\"text\":" + JsonQuoted(text);
  line += ",\"answer\":\"" + std::string(AnswerWord(answer)) + "\"}\n";
  return line;
}

}  // namespace platform
