// Replays the recorded Windows profile-function cases against our profile
// service over a MemoryEnv: every return value, every text and the final file
// bytes must match the recording, except where our rules differ on purpose
// (the table kOurRulesDiffer below, each row with its reason).

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/memory_env.h"
#include "platform/profile_file.h"
#include "platform/windows1252.h"
#include "support/shared_data.h"

namespace platform {
namespace {

using nlohmann::json;

std::string DecodeBase64(std::string_view text) {
  auto digit = [](char c) -> int {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
  };
  std::string out;
  unsigned bits = 0;
  int count = 0;
  for (char c : text) {
    const int d = digit(c);
    if (d < 0) continue;
    bits = (bits << 6) | static_cast<unsigned>(d);
    count += 6;
    if (count >= 8) {
      count -= 8;
      out += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  return out;
}

std::string DecodeHex(std::string_view hex) {
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return out;
}

std::optional<std::string> BytesField(const json& object, const char* name) {
  if (!object.contains(name) || object[name].is_null()) return std::nullopt;
  return DecodeBase64(object[name].get<std::string>());
}

// A name argument as the program passes it: UTF-8 of the recorded bytes.
std::string Argument(const json& op, const char* name) {
  return Windows1252ToUtf8(DecodeHex(op[std::string(name) + "_hex"].get<std::string>()));
}

// --- Where our rules differ from the recording --------------------------------

// Why a case comes out differently under our rules.
enum class Reason {
  // Names match without regard to case over every Windows-1252 letter; the
  // recording folds A-Z only.
  kLetterCaseBeyondAscii,
  // An integer is the decimal number at the start of the value; the recording
  // also reads 0x, 0o and 0b prefixes.
  kDecimalOnly,
  // A number beyond 32 bits is an overflow; the recording wraps it (and cuts
  // a long run of digits before reading it).
  kOverflowBeyond32Bits,
  // A 254-character value is returned whole; the recording loses the last
  // character of a quoted value of that length.
  kWholeValueUpTo254,
  // A byte-order mark is ordinary bytes: the first line is no section line.
  kByteOrderMarkIsBytes,
  // A write changes its own line only and keeps every other byte, NUL bytes
  // and long values included; the recording rewrites the file.
  kWriteKeepsOtherBytes,
};

// What one op returns under our rules where the recording differs.
struct OurResult {
  std::size_t op = 0;
  std::optional<std::string> text;              // read_string: the bytes returned
  std::optional<ProfileInteger> integer;        // read_int
  std::optional<std::size_t> value_written_by;  // read_string: that op's value, cut to 254
};

OurResult Text(std::size_t op, std::string text) {
  return {op, std::move(text), {}, {}};
}
OurResult Integer(std::size_t op, std::int32_t value) {
  return {op, {}, ProfileInteger{value, false}, {}};
}
OurResult Overflow(std::size_t op) {
  return {op, {}, ProfileInteger{0, true}, {}};
}
OurResult ValueWrittenBy(std::size_t op, std::size_t write_op) {
  return {op, {}, {}, write_op};
}

// The final file under our rules, from the case's recorded data.
using FinalBytes = std::function<std::string(const json& recorded_case)>;

struct Difference {
  Reason reason;
  std::vector<OurResult> results;
  FinalBytes final_bytes;  // empty: the recorded final bytes hold
};

std::string ValueOfOp(const json& c, std::size_t op) {
  return DecodeHex(c["ops"][op]["value_hex"].get<std::string>());
}

// The initial file with each (old, new) text replaced once; "@N" as new text
// stands for the value written by op N.
FinalBytes InitialWith(std::vector<std::pair<std::string, std::string>> edits) {
  return [edits](const json& c) {
    std::string bytes = BytesField(c, "initial_b64").value_or("");
    for (const auto& [old_text, new_text] : edits) {
      const std::string replacement =
          new_text.starts_with("@") ? ValueOfOp(c, std::stoul(new_text.substr(1))) : new_text;
      const std::size_t at = bytes.find(old_text);
      if (at != std::string::npos) bytes.replace(at, old_text.size(), replacement);
    }
    return bytes;
  };
}

FinalBytes Exactly(std::string bytes) {
  return [bytes](const json&) { return bytes; };
}

// The written values of the long-value cases: the alphabet over and over.
std::string Alphabet(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

const std::map<std::string, Difference>& OurRulesDiffer() {
  using R = Reason;
  static const std::map<std::string, Difference> table = {
      {"case.accented-section",
       {R::kLetterCaseBeyondAscii, {Text(1, "1"), Text(3, "2"), Text(5, "3")}, {}}},
      {"case.accented-key",
       {R::kLetterCaseBeyondAscii, {Text(0, "1"), Text(2, "2"), Text(3, "3"), Text(4, "4")}, {}}},
      {"enc.high-bytes-names", {R::kLetterCaseBeyondAscii, {Text(2, "umlauts")}, {}}},
      {"mix.034", {R::kLetterCaseBeyondAscii, {Text(0, "Line C,x")}, {}}},
      {"mix.044", {R::kLetterCaseBeyondAscii, {Overflow(1), Overflow(4)}, {}}},
      {"mix.046", {R::kLetterCaseBeyondAscii, {Text(5, "q"), Text(7, "q")}, {}}},
      {"mix.052", {R::kLetterCaseBeyondAscii, {Text(3, "7abc")}, {}}},
      {"mix.053",
       {R::kLetterCaseBeyondAscii, {}, InitialWith({{"fOrMAchinE1=''", "fOrMAchinE1=a=b = d"}})}},
      {"mix.062", {R::kLetterCaseBeyondAscii, {Text(5, "#hash")}, {}}},
      {"mix.066",
       {R::kLetterCaseBeyondAscii,
        {Text(5, "-")},
        InitialWith({{"Key\t=\\\\server\\share\t", "Key\t=-\t"}})}},
      {"mix.081",
       {R::kLetterCaseBeyondAscii,
        {},
        InitialWith({{";[Old]\n", ";[Old]\nNewKey7=8\n"},
                     {"\xFC"
                      "ber\t=21704 ",
                      "\xFC"
                      "ber\t= "}})}},
      {"mix.089", {R::kLetterCaseBeyondAscii, {Integer(1, 0)}, {}}},
      {"mix.094",
       {R::kLetterCaseBeyondAscii,
        {},
        InitialWith({{"\t[common]\r\n", "\t[common]\r\nForMachine1=\r\n"},
                     {"MachineName  =  8 ", "MachineName  =  a=b = d "}})}},
      {"mix.107", {R::kLetterCaseBeyondAscii, {Text(0, "\xC8\xCD\xEB\xC3\xED")}, {}}},
      {"mix.108",
       {R::kLetterCaseBeyondAscii,
        {Text(0, "C:\\Program Files\\x.ini"), Text(2, "C:\\Program Files\\x.ini"),
         Text(4, "C:\\Program Files\\x.ini")},
        InitialWith({{"ForMachine1=\"q\"", "ForMachine1=4294967296"}})}},
      {"mix.110", {R::kLetterCaseBeyondAscii, {Integer(1, 0)}, {}}},
      {"mix.114", {R::kLetterCaseBeyondAscii, {Integer(1, 0)}, {}}},
      {"mix.115", {R::kLetterCaseBeyondAscii, {Integer(5, 1)}, {}}},
      {"mix.128",
       {R::kLetterCaseBeyondAscii,
        {ValueWrittenBy(5, 4)},
        InitialWith({{"'single'", "@4"}, {" Value2=[br]", " Value2=1e2"}})}},
      {"mix.138", {R::kLetterCaseBeyondAscii, {Integer(2, 3631)}, {}}},
      {"mix.141", {R::kLetterCaseBeyondAscii, {Overflow(2)}, {}}},
      {"mix.148", {R::kLetterCaseBeyondAscii, {Text(2, "x=y")}, {}}},
      {"int.values-2", {R::kDecimalOnly, {Integer(1, 0), Integer(5, 0), Integer(6, 0)}, {}}},
      {"int.values-4", {R::kDecimalOnly, {Integer(4, 0), Integer(5, 0), Integer(7, 0)}, {}}},
      {"int.write-then-read", {R::kDecimalOnly, {Integer(5, 0)}, {}}},
      {"mix.144", {R::kDecimalOnly, {Integer(4, 0)}, {}}},
      {"int.values-3",
       {R::kOverflowBeyond32Bits,
        {Overflow(3), Overflow(5), Overflow(6), Overflow(7), Overflow(8)},
        {}}},
      {"len.int-long-digits", {R::kOverflowBeyond32Bits, {Integer(0, 7), Overflow(2)}, {}}},
      {"len.quoted-254", {R::kWholeValueUpTo254, {Text(0, std::string(253, 'q') + "Z")}, {}}},
      {"enc.utf8-bom", {R::kByteOrderMarkIsBytes, {Text(0, ""), Text(1, "")}, {}}},
      {"enc.utf8-bom-outside-1252", {R::kByteOrderMarkIsBytes, {Text(0, ""), Text(1, "")}, {}}},
      {"enc.utf8-bom-write",
       {R::kByteOrderMarkIsBytes,
        {},
        Exactly("\xEF\xBB\xBF[S]\r\nA=1\r\n[S]\r\nB=Gr\xF6\xDF"
                "e\r\nA=2\r\n")}},
      {"enc.utf16le-bom",
       {R::kByteOrderMarkIsBytes,
        {Text(0, ""), Text(1, "")},
        [](const json& c) { return *BytesField(c, "initial_b64") + "\r[S]\rC=3\r"; }}},
      {"enc.nul-write",
       {R::kWriteKeepsOtherBytes, {}, Exactly(std::string("[S]\r\nA=ab\0cd\r\nB=3\r\n", 19))}},
      {"big.write-100000",
       {R::kWriteKeepsOtherBytes,
        {Text(1, Alphabet(254)), Text(3, Alphabet(254))},
        Exactly("[S]\r\nBig=" + Alphabet(100000) + "\r\n")}},
      {"big.write-32k",
       {R::kWriteKeepsOtherBytes,
        {Text(4, Alphabet(254))},
        Exactly("[S]\r\nA=" + Alphabet(32766) + "\r\nB=" + Alphabet(32767) + "\r\n")}},
  };
  return table;
}

// Cases whose every read and return value match the recording, but whose
// final file differs because the recording rewrote it on a write (line ends
// to CR LF, blank lines dropped, blanks around names and values removed, a
// trailing 0x1A dropped; sect.write-name-with-blanks and write.key-with-blanks
// also because we write new names trimmed on both sides, the recording only
// on the left). For them our file must hold the same entries as the recorded
// one, and every line of the initial file that the case does not write must
// still be there, byte for byte, in the same order.
const std::set<std::string>& RewrittenByRecording() {
  static const std::set<std::string> ids = {
      "blank.eof-ctrl-z",
      "eq.empty-key-name",
      "comment.write-preserves",
      "comment.write-add-key-after-comment",
      "pre.write-keeps-leading",
      "pre.write-into-sectionless-file",
      "sect.write-name-with-blanks",
      "int.write-then-read",
      "eol.write-lf",
      "eol.write-lf-new-key",
      "eol.write-cr",
      "eol.write-mixed",
      "eol.write-no-final-newline",
      "enc.write-value-with-lf",
      "file.only-newlines",
      "write.replace-keeps-spacing-elsewhere",
      "write.replace-spaced-entry",
      "write.add-key-middle-section",
      "write.add-key-section-trailing-blanks",
      "write.add-section-after-blank-tail",
      "write.leading-trailing-blanks",
      "write.trailing-blanks-kept-in-file",
      "write.then-read-other-keys",
      "write.key-with-blanks",
      "write.into-spaced-section",
      "write.section-line-with-comment",
      "write.keeps-odd-lines",
      "prog.cfg-read-and-edit-info",
      "prog.cfg-info-first",
      "prog.language-ini-other-language",
      "mix.001",
      "mix.002",
      "mix.005",
      "mix.006",
      "mix.007",
      "mix.008",
      "mix.009",
      "mix.010",
      "mix.011",
      "mix.012",
      "mix.013",
      "mix.014",
      "mix.015",
      "mix.016",
      "mix.018",
      "mix.019",
      "mix.021",
      "mix.022",
      "mix.023",
      "mix.024",
      "mix.025",
      "mix.026",
      "mix.027",
      "mix.028",
      "mix.029",
      "mix.030",
      "mix.031",
      "mix.032",
      "mix.033",
      "mix.034",
      "mix.035",
      "mix.036",
      "mix.038",
      "mix.039",
      "mix.040",
      "mix.041",
      "mix.042",
      "mix.043",
      "mix.044",
      "mix.045",
      "mix.046",
      "mix.047",
      "mix.049",
      "mix.050",
      "mix.051",
      "mix.054",
      "mix.055",
      "mix.056",
      "mix.057",
      "mix.058",
      "mix.059",
      "mix.061",
      "mix.064",
      "mix.065",
      "mix.067",
      "mix.068",
      "mix.069",
      "mix.071",
      "mix.072",
      "mix.073",
      "mix.074",
      "mix.076",
      "mix.077",
      "mix.078",
      "mix.079",
      "mix.084",
      "mix.085",
      "mix.086",
      "mix.087",
      "mix.088",
      "mix.089",
      "mix.091",
      "mix.092",
      "mix.095",
      "mix.097",
      "mix.098",
      "mix.099",
      "mix.100",
      "mix.101",
      "mix.104",
      "mix.105",
      "mix.107",
      "mix.110",
      "mix.111",
      "mix.112",
      "mix.113",
      "mix.115",
      "mix.116",
      "mix.117",
      "mix.118",
      "mix.119",
      "mix.121",
      "mix.122",
      "mix.123",
      "mix.124",
      "mix.126",
      "mix.131",
      "mix.132",
      "mix.133",
      "mix.134",
      "mix.136",
      "mix.137",
      "mix.138",
      "mix.139",
      "mix.140",
      "mix.141",
      "mix.142",
      "mix.144",
      "mix.146",
      "mix.148",
      "mix.149",
      "mix.150",
  };
  return ids;
}

// The recording rewrites the whole file on every write: line ends become
// CR LF, blank lines go, blanks around names and values go. This is that
// form, to compare our minimal edits with it.
std::string Canonical(std::string_view bytes) {
  std::string out;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = TrimProfileBlanks(bytes.substr(pos, end - pos));
    pos = end;
    if (pos < bytes.size()) pos += (bytes.substr(pos, 2) == "\r\n") ? 2 : 1;
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (line.front() == '[' && line.rfind(']') != std::string_view::npos) {
      line = line.substr(0, line.rfind(']') + 1);
      out += "[" + std::string(TrimProfileBlanks(line.substr(1, line.size() - 2))) + "]";
    } else if (equals != std::string_view::npos) {
      out += std::string(TrimProfileBlanks(line.substr(0, equals))) + "=" +
             std::string(TrimProfileBlanks(line.substr(equals + 1)));
    } else {
      out += line;
    }
    out += "\r\n";
  }
  return out;
}

// --- Replay -------------------------------------------------------------------

const std::string kDefaultOf255Blanks(255, ' ');

class CorpusReplay {
 public:
  explicit CorpusReplay(const json& c) : case_(c) {}

  // Every mismatch as a line of text; empty when the case holds.
  std::vector<std::string> Run() {
    SetUp();
    const json& ops = case_["ops"];
    for (std::size_t i = 0; i < ops.size(); ++i) RunOp(i, ops[i]);
    CheckFinal();
    return mismatches_;
  }

 private:
  void SetUp() {
    const std::string kind = case_["path_kind"];
    env_.AddFolder("/ini");
    if (kind == "file") path_ = "/ini/case.ini";
    if (kind == "missing-dir") path_ = "/ini/missing/case.ini";
    if (kind == "directory") path_ = "/ini";
    if (const auto initial = BytesField(case_, "initial_b64")) env_.PutFile(path_, *initial);
  }

  const OurResult* OurResultFor(std::size_t op) const {
    const auto it = OurRulesDiffer().find(case_["id"]);
    if (it == OurRulesDiffer().end()) return nullptr;
    for (const OurResult& r : it->second.results) {
      if (r.op == op) return &r;
    }
    return nullptr;
  }

  void Mismatch(std::size_t i, const std::string& what) {
    mismatches_.push_back("op " + std::to_string(i) + ": " + what);
  }

  void RunOp(std::size_t i, const json& op) {
    const std::string name = op["op"];
    const OurResult* ours = OurResultFor(i);
    if (name == "read_string") {
      std::string expected = DecodeHex(op["hex"].get<std::string>());
      // An absent entry reads as an empty text; the recording gives one blank.
      if (expected == " ") expected.clear();
      if (ours && ours->text) expected = *ours->text;
      if (ours && ours->value_written_by) {
        expected = ValueOfOp(case_, *ours->value_written_by).substr(0, kProfileTextLimit);
      }
      const std::string got = Utf8ToWindows1252(ReadProfileString(
          env_, Argument(op, "section"), Argument(op, "key"), kDefaultOf255Blanks, path_));
      if (got != expected)
        Mismatch(i, "read_string gave '" + got + "', expected '" + expected + "'");
    } else if (name == "read_int") {
      ProfileInteger expected{op["int32"].get<std::int32_t>(), false};
      if (ours && ours->integer) expected = *ours->integer;
      const ProfileInteger got =
          ReadProfileInt(env_, Argument(op, "section"), Argument(op, "key"), -1, path_);
      if (!(got == expected)) {
        Mismatch(i, "read_int gave " + std::to_string(got.value) +
                        (got.overflow ? " (overflow)" : "") + ", expected " +
                        std::to_string(expected.value) + (expected.overflow ? " (overflow)" : ""));
      }
    } else if (name == "write") {
      const bool expected = op["ret"].get<int>() != 0;
      const bool got = WriteProfileString(env_, Argument(op, "section"), Argument(op, "key"),
                                          Argument(op, "value"), path_);
      if (got != expected) Mismatch(i, std::string("write returned ") + (got ? "true" : "false"));
    } else if (name == "replace") {
      if (const auto bytes = BytesField(op, "bytes_b64")) {
        env_.PutFile(path_, *bytes);
      } else {
        env_.RemoveFile(path_);
      }
    } else if (name == "lock" || name == "unlock") {
      env_.SetLocked(path_, name == "lock");
    } else if (name == "dump") {
      if (env_.FileBytes(path_) != BytesField(op, "bytes_b64")) Mismatch(i, "dump differs");
    }
    // "reload" needs nothing: every call reads the file anew.
  }

  void CheckFinal() {
    std::optional<std::string> expected = BytesField(case_, "final_b64");
    const auto it = OurRulesDiffer().find(case_["id"]);
    if (it != OurRulesDiffer().end() && it->second.final_bytes) {
      expected = it->second.final_bytes(case_);
    }
    const std::optional<std::string> got = path_.empty() ? std::nullopt : env_.FileBytes(path_);
    if (RewrittenByRecording().count(case_["id"])) {
      CheckSameEntriesAndUntouchedLinesKept(got.value_or(""), expected.value_or(""));
      return;
    }
    if (got != expected) {
      mismatches_.push_back("final bytes differ: got " +
                            json(Windows1252ToUtf8(got.value_or("<none>"))).dump() + " expected " +
                            json(Windows1252ToUtf8(expected.value_or("<none>"))).dump());
    }
  }

  void CheckSameEntriesAndUntouchedLinesKept(const std::string& got, const std::string& recorded) {
    if (got == recorded) mismatches_.push_back("listed as rewritten but matches the recording");
    if (Canonical(got) != Canonical(recorded)) mismatches_.push_back("entries differ: " + got);
    std::set<std::string> written_keys;
    for (const json& op : case_["ops"]) {
      if (op["op"] == "write")
        written_keys.insert(UpperKey(DecodeHex(op["key_hex"].get<std::string>())));
    }
    std::size_t search_from = 0;
    for (const std::string& line : LinesWithEnds(BytesField(case_, "initial_b64").value_or(""))) {
      const std::size_t equals = line.find('=');
      const std::string key = UpperKey(
          line.substr(0, equals == std::string::npos ? line.find_first_of("\r\n") : equals));
      if (written_keys.count(key)) continue;
      const std::size_t at = got.find(line, search_from);
      if (at == std::string::npos) {
        mismatches_.push_back("initial line not kept: " + json(Windows1252ToUtf8(line)).dump());
        return;
      }
      search_from = at + line.size();
    }
  }

  static std::string UpperKey(std::string_view name) {
    std::string upper;
    for (char c : TrimProfileBlanks(name)) upper += UpperCaseWindows1252(c);
    return upper;
  }

  static std::vector<std::string> LinesWithEnds(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
      std::size_t end = bytes.find_first_of("\r\n", pos);
      if (end == std::string_view::npos) {
        end = bytes.size();
      } else {
        end += bytes.substr(end, 2) == "\r\n" ? 2 : 1;
      }
      lines.emplace_back(bytes.substr(pos, end - pos));
      pos = end;
    }
    return lines;
  }

  const json& case_;
  MemoryEnv env_;
  std::string path_;
  std::vector<std::string> mismatches_;
};

std::vector<json> LoadCorpus() {
  std::vector<json> cases;
  std::ifstream in(testsupport::IniDataDir() / "corpus.jsonl");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) cases.push_back(json::parse(line));
  }
  return cases;
}

TEST(ProfileCorpus, EveryRecordedCaseHoldsUnderOurRules) {
  ORLIX_REQUIRE_DIR(testsupport::IniDataDir());
  const std::vector<json> cases = LoadCorpus();
  ASSERT_FALSE(cases.empty());
  for (const json& c : cases) {
    const std::string id = c["id"];
    CorpusReplay replay(c);
    try {
      for (const std::string& m : replay.Run()) ADD_FAILURE() << id << " " << m;
    } catch (const std::exception& e) {
      ADD_FAILURE() << id << " threw: " << e.what();
    }
  }
}

}  // namespace
}  // namespace platform
