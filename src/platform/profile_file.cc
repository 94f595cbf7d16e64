#include "platform/profile_file.h"

#include <optional>

#include "platform/windows1252.h"

namespace platform {
namespace {

std::optional<std::string> ReadBytes(Env& env, std::string_view path) {
  if (path.empty()) return std::nullopt;
  try {
    return env.ReadWholeFile(path);
  } catch (const Failure&) {
    return std::nullopt;
  }
}

// The entry's value in Windows-1252, nullopt when absent; an empty value
// counts as absent, as it reads as the default too.
std::optional<std::string> ReadValue(Env& env, std::string_view section, std::string_view key,
                                     std::string_view path) {
  const std::optional<std::string> bytes = ReadBytes(env, path);
  if (!bytes) return std::nullopt;
  std::optional<std::string> value =
      LookUpProfileValue(*bytes, Utf8ToWindows1252(section), Utf8ToWindows1252(key));
  if (value && value->empty()) return std::nullopt;
  return value;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ReadProfileString(Env& env, std::string_view section, std::string_view key,
                              std::string_view default_text, std::string_view path) {
  std::string value = ReadValue(env, section, key, path)
                          .value_or(Utf8ToWindows1252(WithoutTrailingBlanks(default_text)));
  if (value.size() > kProfileTextLimit) value.resize(kProfileTextLimit);
  return Windows1252ToUtf8(value);
}

ProfileInteger ReadProfileInt(Env& env, std::string_view section, std::string_view key,
                              std::int32_t default_value, std::string_view path) {
  const std::optional<std::string> value = ReadValue(env, section, key, path);
  if (!value) return {default_value, false};
  return ParseProfileInteger(*value);
}

bool WriteProfileString(Env& env, std::string_view section, std::string_view key,
                        std::string_view value, std::string_view path) {
  if (path.empty()) return false;
  try {
    const std::string old_bytes = env.ReadWholeFile(path).value_or(std::string());
    const std::string new_bytes = EditProfileValue(
        old_bytes, Utf8ToWindows1252(section), Utf8ToWindows1252(key), Utf8ToWindows1252(value));
    if (new_bytes == old_bytes && env.Stat(path)) return true;
    env.ReplaceWholeFile(path, new_bytes);
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace platform
