#include "platform/profile_bytes.h"

#include <limits>

#include "platform/windows1252.h"

namespace platform {
namespace {

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

std::string_view UpToNul(std::string_view text) {
  return text.substr(0, text.find('\0'));
}

// The offsets of text trimmed within [begin, end) of bytes.
std::pair<std::size_t, std::size_t> TrimmedSpan(std::string_view bytes, std::size_t begin,
                                                std::size_t end) {
  while (begin < end && IsProfileBlank(bytes[begin])) ++begin;
  while (end > begin && IsProfileBlank(bytes[end - 1])) --end;
  return {begin, end};
}

std::string_view NameOf(std::string_view text) {
  return TrimProfileBlanks(UpToNul(TrimProfileBlanks(text)));
}

void ClassifyLine(std::string_view bytes, ProfileLine& line) {
  const auto [begin, end] = TrimmedSpan(bytes, line.begin, line.content_end);
  if (begin == end) return;
  const std::string_view content = bytes.substr(begin, end - begin);
  if (content.front() == '[') {
    const std::size_t close = content.rfind(']');
    if (close != std::string_view::npos && close > 0) {
      line.kind = ProfileLine::Kind::kSection;
      line.name = NameOf(content.substr(1, close - 1));
      return;
    }
  }
  line.kind = ProfileLine::Kind::kEntry;
  const std::size_t equals = content.find('=');
  line.name = NameOf(content.substr(0, equals));
  if (equals == std::string_view::npos) return;
  line.equals = begin + equals;
  const auto [value_begin, value_end] = TrimmedSpan(bytes, begin + equals + 1, end);
  line.value_begin = value_begin;
  line.value_end = value_end;
}

bool NamesMatch(std::string_view in_file, std::string_view requested) {
  return EqualsIgnoringCaseWindows1252(in_file, requested);
}

// Where an entry is, or would go.
struct EntryPlace {
  bool section_found = false;
  std::optional<std::size_t> entry;  // index of the entry's line
  // Index of the last non-blank line of the section (its header when the
  // body is empty); nullopt for an empty section "" at the start of the file.
  std::optional<std::size_t> last_line;
};

EntryPlace FindEntry(const std::vector<ProfileLine>& lines, std::string_view section,
                     std::string_view key) {
  section = TrimProfileBlanks(section);
  key = TrimProfileBlanks(key);
  EntryPlace place;
  std::size_t i = 0;
  // Lines before the first section line are the first copy of section "".
  if (!section.empty()) {
    while (i < lines.size() &&
           !(lines[i].kind == ProfileLine::Kind::kSection && NamesMatch(lines[i].name, section))) {
      ++i;
    }
    if (i == lines.size()) return place;
    place.last_line = i++;
  } else {
    place.last_line = std::nullopt;
  }
  place.section_found = true;
  for (; i < lines.size() && lines[i].kind != ProfileLine::Kind::kSection; ++i) {
    if (lines[i].kind != ProfileLine::Kind::kEntry) continue;
    place.last_line = i;
    if (!place.entry && NamesMatch(lines[i].name, key)) place.entry = i;
  }
  return place;
}

std::string_view FirstLineEnd(std::string_view bytes) {
  const std::size_t pos = bytes.find_first_of("\r\n");
  if (pos == std::string_view::npos) return "\r\n";
  if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n') return "\r\n";
  return bytes.substr(pos, 1);
}

std::string ReplaceSpan(std::string_view bytes, std::size_t begin, std::size_t end,
                        std::string_view replacement) {
  std::string out;
  out.reserve(bytes.size() + replacement.size());
  out.append(bytes.substr(0, begin));
  out.append(replacement);
  out.append(bytes.substr(end));
  return out;
}

std::string ReplaceEntryValue(std::string_view bytes, const ProfileLine& line,
                              std::string_view value) {
  if (!line.equals) {
    return ReplaceSpan(bytes, line.content_end, line.content_end, "=" + std::string(value));
  }
  if (line.value_begin == line.value_end) {
    return ReplaceSpan(bytes, *line.equals + 1, *line.equals + 1, value);
  }
  return ReplaceSpan(bytes, line.value_begin, line.value_end, value);
}

// Inserts new lines after the given line (or at the start of the buffer),
// ending that line first when it is the last one and has no line end.
std::string InsertLinesAfter(std::string_view bytes, const std::vector<ProfileLine>& lines,
                             std::optional<std::size_t> after, std::string_view new_lines) {
  if (!after) return ReplaceSpan(bytes, 0, 0, new_lines);
  const ProfileLine& line = lines[*after];
  std::string insert;
  if (line.content_end == line.end) insert = FirstLineEnd(bytes);
  insert += new_lines;
  return ReplaceSpan(bytes, line.end, line.end, insert);
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::vector<ProfileLine> SplitProfileLines(std::string_view bytes) {
  std::vector<ProfileLine> lines;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    ProfileLine line;
    line.begin = pos;
    while (pos < bytes.size() && !IsLineEnd(bytes[pos])) ++pos;
    line.content_end = pos;
    if (pos < bytes.size()) {
      const bool crlf = bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n';
      pos += crlf ? 2 : 1;
    }
    line.end = pos;
    ClassifyLine(bytes, line);
    lines.push_back(line);
  }
  return lines;
}

std::optional<std::string> LookUpProfileValue(std::string_view bytes, std::string_view section,
                                              std::string_view key) {
  const std::vector<ProfileLine> lines = SplitProfileLines(bytes);
  const EntryPlace place = FindEntry(lines, section, key);
  if (!place.entry) return std::nullopt;
  const ProfileLine& line = lines[*place.entry];
  if (!line.equals) return std::nullopt;
  std::string_view value =
      UpToNul(bytes.substr(line.value_begin, line.value_end - line.value_begin));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string EditProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::vector<ProfileLine> lines = SplitProfileLines(bytes);
  const EntryPlace place = FindEntry(lines, section, key);
  const std::string_view eol = FirstLineEnd(bytes);
  const std::string entry_line =
      std::string(TrimProfileBlanks(key)) + "=" + std::string(value) + std::string(eol);
  if (place.entry) return ReplaceEntryValue(bytes, lines[*place.entry], value);
  if (place.section_found) return InsertLinesAfter(bytes, lines, place.last_line, entry_line);
  const std::string section_line =
      "[" + std::string(TrimProfileBlanks(section)) + "]" + std::string(eol) + entry_line;
  if (lines.empty()) return section_line;
  return InsertLinesAfter(bytes, lines, lines.size() - 1, section_line);
}

ProfileInteger ParseProfileInteger(std::string_view value) {
  bool negative = false;
  if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  // Accumulates as a magnitude in 64 bits; beyond 2^31 it is an overflow.
  constexpr std::uint64_t kLimit = std::uint64_t{1} << 31;
  std::uint64_t magnitude = 0;
  bool overflow = false;
  for (char c : value) {
    if (c < '0' || c > '9') break;
    magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    if (magnitude > kLimit) {
      overflow = true;
      magnitude = kLimit + 1;  // keeps the accumulation bounded
    }
  }
  if (overflow || magnitude > (negative ? kLimit : kLimit - 1)) return {0, true};
  const auto signed_value = static_cast<std::int64_t>(magnitude);
  return {static_cast<std::int32_t>(negative ? -signed_value : signed_value), false};
}

}  // namespace platform
