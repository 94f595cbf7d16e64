#include "platform/windows1252.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

struct CodePageCase {
  std::string bytes;  // Windows-1252
  std::string utf8;
};

class Windows1252Table : public ::testing::TestWithParam<CodePageCase> {};

TEST_P(Windows1252Table, ConvertsBothWays) {
  EXPECT_EQ(Windows1252ToUtf8(GetParam().bytes), GetParam().utf8);
  EXPECT_EQ(Utf8ToWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, Windows1252Table,
    ::testing::Values(CodePageCase{"Plant A=1\r\n", "Plant A=1\r\n"},
                      CodePageCase{std::string(1, '\0'), std::string(1, '\0')},
                      CodePageCase{"\x80", "\u20AC"},            // euro sign
                      CodePageCase{"\x8A\x9A", "\u0160\u0161"},  // S/s caron
                      CodePageCase{"\x9F", "\u0178"},            // Y diaeresis
                      CodePageCase{"\x96\x97", "\u2013\u2014"},  // dashes
                      CodePageCase{"\xA0", "\u00A0"},            // no-break space
                      CodePageCase{"Gr\xF6\xDF"
                                   "e",
                                   "Gr\u00F6\u00DFe"},
                      CodePageCase{"\xFF", "\u00FF"},
                      // The undefined bytes stand for the C1 controls of the same value.
                      CodePageCase{"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"}));

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

struct UnmappableCase {
  std::string utf8;
  std::string bytes;
};

class Utf8Unmappable : public ::testing::TestWithParam<UnmappableCase> {};

TEST_P(Utf8Unmappable, BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Characters, Utf8Unmappable,
                         ::testing::Values(UnmappableCase{"\u0100", "?"},      // A macron
                                           UnmappableCase{"x\u4E2Dy", "x?y"},  // CJK, 3 bytes
                                           UnmappableCase{"\U0001F600", "?"},  // emoji, 4 bytes
                                           UnmappableCase{"\u0080", "?"},  // C1 with a defined byte
                                           UnmappableCase{"\xC3", "?"},    // cut sequence
                                           UnmappableCase{"\xC3(", "?("},  // bad continuation
                                           UnmappableCase{"\xC0\xAF", "??"},       // overlong
                                           UnmappableCase{"\xED\xA0\x80", "???"},  // surrogate
                                           UnmappableCase{"\xFF\xFE", "??"}));

struct UpperCaseCase {
  std::string text;
  std::string upper;
};

class UpperCaseTable : public ::testing::TestWithParam<UpperCaseCase> {};

TEST_P(UpperCaseTable, FollowsTheWindows1252Letters) {
  EXPECT_EQ(UpperCase(GetParam().text), GetParam().upper);
  EXPECT_TRUE(EqualsIgnoringCase(GetParam().text, GetParam().upper));
  const std::string bytes = Utf8ToWindows1252(GetParam().text);
  std::string upper_bytes;
  for (char c : bytes) upper_bytes += UpperCaseWindows1252(c);
  EXPECT_EQ(Windows1252ToUtf8(upper_bytes), UpperCase(Windows1252ToUtf8(bytes)));
}

INSTANTIATE_TEST_SUITE_P(
    Letters, UpperCaseTable,
    ::testing::Values(UpperCaseCase{"validMachines", "VALIDMACHINES"},
                      UpperCaseCase{"/logfile=c:\\a_b.log", "/LOGFILE=C:\\A_B.LOG"},
                      UpperCaseCase{"gr\u00F6\u00DFe", "GR\u00D6\u00DFE"},  // sharp s stays
                      UpperCaseCase{"\u00E0\u00E6\u00E7\u00FE", "\u00C0\u00C6\u00C7\u00DE"},
                      UpperCaseCase{"\u00F7", "\u00F7"},  // division sign is no letter
                      UpperCaseCase{"\u0161\u017E\u0153\u00FF", "\u0160\u017D\u0152\u0178"},
                      UpperCaseCase{"\u00B5\u0192\u00AA\u00BA", "\u00B5\u0192\u00AA\u00BA"},
                      UpperCaseCase{"\u0101\u03B1\u0434", "\u0101\u03B1\u0434"},  // beyond 1252
                      UpperCaseCase{"a\xFFz", "A\xFFZ"}));  // a malformed byte stays

TEST(UpperCase, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(EqualsIgnoringCase("True", "TRUE"));
  EXPECT_TRUE(EqualsIgnoringCase("\u00E9t\u00E9", "\u00C9T\u00C9"));
  EXPECT_FALSE(EqualsIgnoringCase("stra\u00DFe", "STRASSE"));
  EXPECT_FALSE(EqualsIgnoringCase("TRUE ", "TRUE"));
  EXPECT_TRUE(EqualsIgnoringCaseWindows1252("\xFF\x9A", "\x9F\x8A"));
  EXPECT_FALSE(EqualsIgnoringCaseWindows1252("\xF7", "\xD7"));
}

}  // namespace
}  // namespace platform
