// Our profile service beyond the recorded cases: the exact bytes a write
// leaves, robustness against odd and large input, and the service's own
// contract (defaults, the 254-character limit, code page, refused writes).

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/memory_env.h"
#include "platform/profile_bytes.h"
#include "platform/profile_file.h"

namespace platform {
namespace {

using namespace std::string_literals;

struct EditCase {
  const char* name;
  std::string before;
  std::string section;
  std::string key;
  std::string value;
  std::string after;
};

class ProfileEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(ProfileEdit, ChangesOnlyItsOwnLine) {
  const EditCase& c = GetParam();
  EXPECT_EQ(EditProfileValue(c.before, c.section, c.key, c.value), c.after);
  EXPECT_EQ(
      LookUpProfileValue(EditProfileValue(c.before, c.section, c.key, c.value), c.section, c.key),
      std::string(TrimProfileBlanks(c.value)));
}

INSTANTIATE_TEST_SUITE_P(
    Writes, ProfileEdit,
    ::testing::Values(
        EditCase{"LfFileKeepsLfAndBlankLines", "; c\n[S]\nA=1\n\nB=2\n", "S", "A", "9",
                 "; c\n[S]\nA=9\n\nB=2\n"},
        EditCase{"CrOnlyFileGetsCrForNewKey", "[S]\rA=1\r[T]\rC=3\r", "S", "B", "2",
                 "[S]\rA=1\rB=2\r[T]\rC=3\r"},
        EditCase{"SpacingAroundValueStays", "[S]\r\n  A  =  1  \r\n", "s", "a", "x",
                 "[S]\r\n  A  =  x  \r\n"},
        EditCase{"EmptyValueFilledAfterEquals", "[S]\r\nA=\r\n", "S", "A", "x", "[S]\r\nA=x\r\n"},
        EditCase{"KeyWithoutEqualsGetsOne", "[S]\r\nKey\r\nB=2\r\n", "S", "KEY", "v",
                 "[S]\r\nKey=v\r\nB=2\r\n"},
        EditCase{"QuotedValueReplacedWhole", "[S]\r\nA=\"x y\"\r\n", "S", "A", "z",
                 "[S]\r\nA=z\r\n"},
        EditCase{"LastLineWithoutLineEndReplaced", "[S]\r\nA=1\r\nB=2", "S", "B", "3",
                 "[S]\r\nA=1\r\nB=3"},
        EditCase{"KeyAddedAfterLastLineWithoutLineEnd", "[S]\r\nA=1", "S", "B", "2",
                 "[S]\r\nA=1\r\nB=2\r\n"},
        EditCase{"KeyGoesBeforeTrailingBlankLines", "[S]\r\nA=1\r\n\r\n\r\n[T]\r\n", "S", "N", "x",
                 "[S]\r\nA=1\r\nN=x\r\n\r\n\r\n[T]\r\n"},
        EditCase{"KeyGoesAfterEmptySectionHeader", "[S] tail\n[T]\n", "S", "N", "x",
                 "[S] tail\nN=x\n[T]\n"},
        EditCase{"OnlyFirstCopyOfSectionEdited", "[S]\r\nA=1\r\n[S]\r\nB=2\r\n", "S", "B", "5",
                 "[S]\r\nA=1\r\nB=5\r\n[S]\r\nB=2\r\n"},
        EditCase{"FirstCopyOfKeyEdited", "[S]\r\nA=1\r\nA=2\r\n", "S", "A", "3",
                 "[S]\r\nA=3\r\nA=2\r\n"},
        EditCase{"NewSectionAppendedAtEnd", "[S]\nA=1\n\n", "New", "K", "v",
                 "[S]\nA=1\n\n[New]\nK=v\n"},
        EditCase{"NewNamesWrittenTrimmed", "", " Spaced ", " Key ", "v", "[Spaced]\r\nKey=v\r\n"},
        EditCase{"LeadingEntriesAreSectionBlank", "A=1\r\n[S]\r\n", "", "B", "2",
                 "A=1\r\nB=2\r\n[S]\r\n"},
        EditCase{"ByteOrderMarkIsNoSection", "\xEF\xBB\xBF[S]\r\nA=1\r\n", "S", "A", "2",
                 "\xEF\xBB\xBF[S]\r\nA=1\r\n[S]\r\nA=2\r\n"},
        EditCase{"NulInOtherLineKept", "[S]\r\nA=a\0b\r\nB=2\r\n"s, "S", "B", "3",
                 "[S]\r\nA=a\0b\r\nB=3\r\n"s},
        EditCase{"LetterCaseBeyondAscii",
                 "[Gr\xF6\xDF"
                 "e]\r\n\xC4=1\r\n",
                 "GR\xD6\xDF"
                 "E",
                 "\xE4", "2",
                 "[Gr\xF6\xDF"
                 "e]\r\n\xC4=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Inputs that must neither crash nor hang, with what a read then gives.
struct OddInput {
  const char* name;
  std::string bytes;
  std::string key;  // in section S
  std::optional<std::string> value;
};

class ProfileOddInput : public ::testing::TestWithParam<OddInput> {};

TEST_P(ProfileOddInput, ReadsAndWritesWithoutTrouble) {
  const OddInput& c = GetParam();
  EXPECT_EQ(LookUpProfileValue(c.bytes, "S", c.key), c.value);
  const std::string edited = EditProfileValue(c.bytes, "S", "Added", "yes");
  EXPECT_EQ(LookUpProfileValue(edited, "S", "Added"), "yes");
  EXPECT_EQ(LookUpProfileValue(edited, "S", c.key), c.value);
}

std::string AllBytes(int repeat) {
  std::string bytes;
  for (int r = 0; r < repeat; ++r) {
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>((b * 37 + r) & 0xFF);
  }
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Robustness, ProfileOddInput,
    ::testing::Values(
        OddInput{"BinaryGarbageBeforeSection", AllBytes(64) + "\r\n[S]\r\nK=v\r\n", "K", "v"},
        OddInput{"BinaryGarbageInsideSection", "[S]\r\nK=v\r\n" + AllBytes(64), "K", "v"},
        OddInput{"NoFinalLineEnd", "[S]\r\nK=v", "K", "v"},
        OddInput{"CrOnly", "[S]\rX=1\rK=v", "K", "v"},
        OddInput{"MixedLineEnds", "[S]\n\rX=1\r\r\nK=v\n", "K", "v"},
        OddInput{"LongLineWithoutEquals", "[S]\r\n" + std::string(100000, 'x') + "\r\nK=v\r\n", "K",
                 "v"},
        OddInput{"LongValue", "[S]\r\nK=" + std::string(100000, 'v') + "\r\n", "K",
                 std::string(100000, 'v')},
        OddInput{"OnlyLineEnds", std::string(10000, '\n'), "K", std::nullopt},
        OddInput{"ManySections",
                 [] {
                   std::string s;
                   for (int i = 0; i < 20000; ++i) s += "[T" + std::to_string(i) + "]\nA=1\n";
                   return s + "[S]\nK=v\n";
                 }(),
                 "K", "v"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileIntegers, ReadDecimalAtStartAndTellOverflow) {
  struct Row {
    const char* text;
    ProfileInteger expected;
  } rows[] = {
      {"42abc", {42, false}},
      {"-17", {-17, false}},
      {"+5", {5, false}},
      {"abc", {0, false}},
      {"0x1F", {0, false}},
      {"--5", {0, false}},
      {"40000", {40000, false}},
      {"2147483647", {2147483647, false}},
      {"-2147483648", {-2147483647 - 1, false}},
      {"2147483648", {0, true}},
      {"-2147483649", {0, true}},
      {"99999999999999999999999", {0, true}},
      {"0000000000000000000000000000000000007", {7, false}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ParseProfileInteger(row.text), row.expected) << row.text;
  }
}

// --- The service over an Env ------------------------------------------------------

class ProfileService : public ::testing::Test {
 protected:
  void SetUp() override { env_.AddFolder("/cfg"); }
  std::string Read(std::string_view section, std::string_view key, std::string_view fallback,
                   std::string_view path = "/cfg/a.ini") {
    return ReadProfileString(env_, section, key, fallback, path);
  }
  MemoryEnv env_;
};

TEST_F(ProfileService, AbsentOrEmptyReadsAsDefaultWithoutTrailingBlanks) {
  env_.PutFile("/cfg/a.ini", "[S]\r\nEmpty=\r\nQuoted=\"\"\r\n");
  const std::string blanks(255, ' ');
  EXPECT_EQ(Read("S", "Missing", blanks), "");
  EXPECT_EQ(Read("S", "Empty", "fallback  "), "fallback");
  EXPECT_EQ(Read("S", "Quoted", "  x  "), "  x");
  EXPECT_EQ(Read("S", "Any", "d", "/cfg/none.ini"), "d");
  EXPECT_EQ(Read("S", "Any", "d", ""), "d");
  EXPECT_EQ(Read("S", "Any", "d", "/cfg"), "d");
  EXPECT_EQ(ReadProfileInt(env_, "S", "Empty", -1, "/cfg/a.ini"), (ProfileInteger{-1, false}));
}

TEST_F(ProfileService, TextReadsAreCutTo254Characters) {
  const std::string long_value = std::string(250, 'a') + "\xE4\xF6\xFC\xDF\x80" + "tail";
  env_.PutFile("/cfg/a.ini", "[S]\r\nK=" + long_value + "\r\n");
  const std::string got = Read("S", "K", "");
  EXPECT_EQ(got, std::string(250, 'a') + "\u00E4\u00F6\u00FC\u00DF");
  EXPECT_EQ(Read("S", "Missing", std::string(300, 'd')), std::string(254, 'd'));
}

TEST_F(ProfileService, ConvertsBetweenUtf8AndWindows1252) {
  ASSERT_TRUE(
      WriteProfileString(env_, "Gr\u00F6\u00DFe", "\u20AC", "\u00C4rger \u0100", "/cfg/a.ini"));
  EXPECT_EQ(env_.FileBytes("/cfg/a.ini"),
            "[Gr\xF6\xDF"
            "e]\r\n\x80=\xC4rger ?\r\n");
  EXPECT_EQ(Read("GR\u00D6\u00DFE", "\u20AC", ""), "\u00C4rger ?");
}

TEST_F(ProfileService, RefusedWritesReportFailureAndChangeNothing) {
  env_.PutFile("/cfg/ro.ini", "[S]\r\nA=1\r\n", /*read_only=*/true);
  EXPECT_FALSE(WriteProfileString(env_, "S", "A", "2", "/cfg/ro.ini"));
  EXPECT_EQ(env_.FileBytes("/cfg/ro.ini"), "[S]\r\nA=1\r\n");
  EXPECT_FALSE(WriteProfileString(env_, "S", "A", "2", "/cfg/missing/a.ini"));
  EXPECT_FALSE(env_.FileBytes("/cfg/missing/a.ini"));
  EXPECT_FALSE(WriteProfileString(env_, "S", "A", "2", ""));
  EXPECT_FALSE(WriteProfileString(env_, "S", "A", "2", "/cfg"));
  env_.PutFile("/cfg/held.ini", "[S]\r\nA=1\r\n");
  env_.SetLocked("/cfg/held.ini", true);
  EXPECT_FALSE(WriteProfileString(env_, "S", "A", "2", "/cfg/held.ini"));
}

TEST_F(ProfileService, WriteCreatesFileAndNextReadSeesIt) {
  ASSERT_TRUE(WriteProfileString(env_, "Info", "S_Prog", "2.0.0 - Standalone", "/cfg/A.INI"));
  ASSERT_TRUE(WriteProfileString(env_, "info", "s_prog", "2.0.0 - Integrated", "/cfg/a.ini"));
  EXPECT_EQ(env_.FilePaths(), std::vector<std::string>{"/cfg/A.INI"});
  EXPECT_EQ(env_.FileBytes("/cfg/A.INI"), "[Info]\r\nS_Prog=2.0.0 - Integrated\r\n");
  EXPECT_EQ(Read("INFO", "S_PROG", ""), "2.0.0 - Integrated");
}

TEST_F(ProfileService, WritingTheValueAlreadyThereLeavesTheFileUntouched) {
  env_.PutFile("/cfg/a.ini", "[S]\r\n  A = 1\r\n");
  const auto before = env_.Stat("/cfg/a.ini");
  env_.AdvanceClock(std::chrono::hours(1));
  EXPECT_TRUE(WriteProfileString(env_, "S", "A", "1", "/cfg/a.ini"));
  EXPECT_EQ(env_.Stat("/cfg/a.ini"), before);
}

}  // namespace
}  // namespace platform
