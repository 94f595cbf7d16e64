// The system Env on a real (temporary) folder. POSIX only: the Windows Env
// resolves letter case through the file system itself.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/posix_dialog.h"

namespace {

namespace fs = std::filesystem;
using platform::Env;
using platform::Failure;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void Spit(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A fresh folder per test, and an Env made with the given environment
// variables set for its construction (and for the test's duration).
class PosixEnvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ =
        fs::temp_directory_path() /
        ("orlix-posix-env-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
    for (const char* name : kVariables) unsetenv(name);
  }
  void TearDown() override {
    for (const char* name : kVariables) unsetenv(name);
    fs::remove_all(root_);
  }

  std::unique_ptr<Env> MakeEnv(std::vector<std::string> args = {"316_Orlix_Config"}) {
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    args_ = std::move(args);
    return platform::MakeSystemEnv(static_cast<int>(argv.size()), argv.data());
  }

  std::string P(const std::string& relative) const { return (root_ / relative).string(); }

  std::vector<std::string> NamesIn(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  static constexpr const char* kVariables[] = {"ORLIXCFG_ANSWERS", "ORLIXCFG_TRANSCRIPT",
                                               "ORLIXCFG_CLOSE_AT", "ORLIXCFG_SERVICEPACK_LOG"};
  fs::path root_;
  std::vector<std::string> args_;
};

int ErrorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

TEST_F(PosixEnvTest, ResolvesEachComponentWithoutRegardToCase) {
  fs::create_directories(root_ / "Plant" / "Bin");
  Spit(root_ / "Plant" / "Bin" / "Program.ini", "x");
  auto env = MakeEnv();
  struct Case {
    std::string asked, expected;
  } cases[] = {
      {"Plant/Bin/Program.ini", "Plant/Bin/Program.ini"},
      {"PLANT/bin/program.INI", "Plant/Bin/Program.ini"},
      {"plant/BIN/NEW.LOG", "Plant/Bin/NEW.LOG"},  // missing last component keeps its letters
      {"plant/Missing/Sub/a.ini", "Plant/Missing/Sub/a.ini"},
  };
  for (const auto& c : cases) EXPECT_EQ(env->ResolvePath(P(c.asked)), P(c.expected)) << c.asked;
}

TEST_F(PosixEnvTest, WritesThroughOtherLetterCaseLandInTheExistingFileAndFolder) {
  fs::create_directories(root_ / "Log");
  Spit(root_ / "Log" / "Program.ini", "old");
  auto env = MakeEnv();
  env->ReplaceWholeFile(P("LOG/PROGRAM.INI"), "new");
  env->AppendToFile(P("LOG/ERRORS.LOG"), "line\r\n");
  EXPECT_EQ(NamesIn(root_ / "Log"), (std::vector<std::string>{"ERRORS.LOG", "Program.ini"}));
  EXPECT_EQ(Slurp(root_ / "Log" / "Program.ini"), "new");
  EXPECT_EQ(env->ReadWholeFile(P("log/program.ini")), "new");
}

TEST_F(PosixEnvTest, OrdinaryFilesAreRegularFilesWithoutLeadingDot) {
  fs::create_directories(root_ / "folder");
  Spit(root_ / "plain.cfg", "x");
  Spit(root_ / ".hidden.cfg", "x");
  fs::create_symlink(root_ / "plain.cfg", root_ / "link.cfg");
  auto env = MakeEnv();
  struct Case {
    std::string path;
    bool ordinary;
  } cases[] = {{"plain.cfg", true},       {"PLAIN.CFG", true}, {"link.cfg", true},
               {".hidden.cfg", false},    {"folder", false},   {"missing.cfg", false},
               {"plain.cfg/below", false}};
  for (const auto& c : cases) EXPECT_EQ(env->IsOrdinaryFile(P(c.path)), c.ordinary) << c.path;
}

TEST_F(PosixEnvTest, ReadWholeFileTellsMissingFilesAndFolders) {
  fs::create_directories(root_ / "folder");
  Spit(root_ / "data.bin", std::string("a\0b\r\n", 5));
  auto env = MakeEnv();
  EXPECT_EQ(env->ReadWholeFile(P("data.bin")), std::string("a\0b\r\n", 5));
  EXPECT_EQ(env->ReadWholeFile(P("missing")), std::nullopt);
  EXPECT_EQ(env->ReadWholeFile(P("folder")), std::nullopt);
  EXPECT_EQ(env->ReadWholeFile(""), std::nullopt);
}

TEST_F(PosixEnvTest, ReplaceWholeFileRefusesAndLeavesNothingBehind) {
  Spit(root_ / "locked.ini", "keep");
  fs::permissions(root_ / "locked.ini", fs::perms::owner_read | fs::perms::group_read);
  fs::create_directories(root_ / "folder");
  auto env = MakeEnv();
  EXPECT_EQ(ErrorOf([&] { env->ReplaceWholeFile(P("locked.ini"), "new"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env->ReplaceWholeFile(P("nofolder/a.ini"), "new"); }), 76);
  EXPECT_EQ(ErrorOf([&] { env->ReplaceWholeFile(P("folder"), "new"); }), 75);
  EXPECT_EQ(ErrorOf([&] { env->ReplaceWholeFile("", "new"); }), 75);
  EXPECT_EQ(Slurp(root_ / "locked.ini"), "keep");
  EXPECT_EQ(NamesIn(root_), (std::vector<std::string>{"folder", "locked.ini"}));
}

TEST_F(PosixEnvTest, ReplaceWholeFileKeepsPermissionsAndGivesANewIdentity) {
  Spit(root_ / "a.ini", "old");
  fs::permissions(root_ / "a.ini", fs::perms::owner_read | fs::perms::owner_write);
  auto env = MakeEnv();
  const auto before = env->Stat(P("a.ini"));
  env->ReplaceWholeFile(P("a.ini"), "newer");
  const auto after = env->Stat(P("a.ini"));
  ASSERT_TRUE(before && after);
  EXPECT_EQ(after->size, 5u);
  EXPECT_NE(after->identity, before->identity);  // renamed over, not rewritten
  EXPECT_EQ(fs::status(root_ / "a.ini").permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(PosixEnvTest, CopyReplacesTheTargetInOneStep) {
  Spit(root_ / "source.mdb", std::string(200000, 'S'));
  Spit(root_ / "Target.mdb", "old target");
  auto env = MakeEnv();
  env->CopyFileReplacing(P("SOURCE.MDB"), P("target.MDB"));
  EXPECT_EQ(Slurp(root_ / "Target.mdb"), std::string(200000, 'S'));
  EXPECT_EQ(NamesIn(root_), (std::vector<std::string>{"Target.mdb", "source.mdb"}));
}

TEST_F(PosixEnvTest, FailedCopyLeavesTargetIntactAndNoTemporaryFile) {
  Spit(root_ / "target.mdb", "old target");
  Spit(root_ / "readonly.mdb", "read-only target");
  fs::permissions(root_ / "readonly.mdb", fs::perms::owner_read);
  Spit(root_ / "source.mdb", "source");
  auto env = MakeEnv();
  // A regular file whose reading fails after the temporary file exists.
  EXPECT_EQ(ErrorOf([&] { env->CopyFileReplacing("/proc/self/mem", P("target.mdb")); }), 57);
  EXPECT_EQ(ErrorOf([&] { env->CopyFileReplacing(P("missing.mdb"), P("target.mdb")); }), 53);
  EXPECT_EQ(ErrorOf([&] { env->CopyFileReplacing(P("source.mdb"), P("readonly.mdb")); }), 70);
  EXPECT_EQ(ErrorOf([&] { env->CopyFileReplacing(P("source.mdb"), P("none/t.mdb")); }), 76);
  EXPECT_EQ(Slurp(root_ / "target.mdb"), "old target");
  EXPECT_EQ(Slurp(root_ / "readonly.mdb"), "read-only target");
  EXPECT_EQ(NamesIn(root_), (std::vector<std::string>{"readonly.mdb", "source.mdb", "target.mdb"}));
}

TEST_F(PosixEnvTest, FileTimesRoundTripAndLastAccessStays) {
  Spit(root_ / "source.mdb", "x");
  auto env = MakeEnv();
  const auto before = env->GetFileTimes(P("source.mdb"));
  ASSERT_TRUE(before);
  platform::FileTimes wanted = *before;
  wanted.last_write = 131000000001234567;  // 2016, with 100-ns digits
  ASSERT_TRUE(env->SetFileTimes(P("SOURCE.mdb"), wanted));
  const auto after = env->GetFileTimes(P("source.mdb"));
  ASSERT_TRUE(after);
  EXPECT_EQ(after->last_write, wanted.last_write);
  EXPECT_EQ(after->last_access, before->last_access);
  EXPECT_EQ(env->Stat(P("source.mdb"))->last_write, wanted.last_write);
  EXPECT_FALSE(env->SetFileTimes(P("missing.mdb"), wanted));
  EXPECT_EQ(env->GetFileTimes(P("missing.mdb")), std::nullopt);
}

TEST_F(PosixEnvTest, AppendCreatesThenAppendsAndRefusesReadOnly) {
  auto env = MakeEnv();
  env->AppendToFile(P("error.log"), "one\r\n");
  env->AppendToFile(P("ERROR.LOG"), "two\r\n");
  EXPECT_EQ(Slurp(root_ / "error.log"), "one\r\ntwo\r\n");
  fs::permissions(root_ / "error.log", fs::perms::owner_read);
  EXPECT_EQ(ErrorOf([&] { env->AppendToFile(P("error.log"), "three"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env->AppendToFile(P("none/error.log"), "x"); }), 76);
}

TEST_F(PosixEnvTest, RandomAccessFilesReadWriteAndRefuse) {
  Spit(root_ / "ro.mdb", "read only");
  fs::permissions(root_ / "ro.mdb", fs::perms::owner_read);
  auto env = MakeEnv();
  {
    auto file = env->CreateFile(P("db.mdb"));
    const std::string page(4096, 'p');
    file->Write(8192, std::as_bytes(std::span(page)));
    file->Sync();
    EXPECT_EQ(file->Size(), 12288u);
  }
  auto file = env->OpenFile(P("DB.mdb"), platform::OpenMode::kRead);
  std::vector<std::byte> out(4);
  file->Read(12284, out);
  EXPECT_EQ(out[3], std::byte{'p'});
  EXPECT_EQ(ErrorOf([&] { file->Read(12286, out); }), 62);
  EXPECT_EQ(ErrorOf([&] { file->Truncate(0); }), 70);
  EXPECT_EQ(ErrorOf([&] { env->OpenFile(P("ro.mdb"), platform::OpenMode::kReadWrite); }), 70);
  EXPECT_EQ(ErrorOf([&] { env->OpenFile(P("none.mdb"), platform::OpenMode::kRead); }), 53);
  const auto identity = env->Stat(P("db.mdb"))->identity;
  env->OpenFile(P("db.mdb"), platform::OpenMode::kReadWrite)->Truncate(10);
  EXPECT_EQ(env->Stat(P("db.mdb"))->identity, identity);  // changed in place
}

TEST_F(PosixEnvTest, RemoveFile) {
  Spit(root_ / "a.tmp", "x");
  Spit(root_ / "ro.tmp", "x");
  fs::permissions(root_ / "ro.tmp", fs::perms::owner_read);
  auto env = MakeEnv();
  env->RemoveFile(P("A.TMP"));
  EXPECT_FALSE(fs::exists(root_ / "a.tmp"));
  EXPECT_EQ(ErrorOf([&] { env->RemoveFile(P("a.tmp")); }), 53);
  EXPECT_EQ(ErrorOf([&] { env->RemoveFile(P("ro.tmp")); }), 70);
}

TEST_F(PosixEnvTest, ProcessFacts) {
  auto env = MakeEnv({"/opt/x/316_Orlix_Config", "/EXTERNAL=KV9CFG", "/LOGFILE=/srv/a b.log"});
  EXPECT_EQ(env->CommandLine(), "/EXTERNAL=KV9CFG /LOGFILE=/srv/a b.log");
  const fs::path exe = fs::canonical("/proc/self/exe");
  EXPECT_EQ(env->ProgramFolder(), exe.parent_path().string());
  EXPECT_EQ(env->ExecutableFileName(), exe.filename().string());
  EXPECT_EQ(env->ExecutableName(), exe.stem().string());
  EXPECT_EQ(env->ServicePackLogPath(), "/var/log/VelmorServicePack.log");
  setenv("ORLIXCFG_SERVICEPACK_LOG", P("sp.log").c_str(), 1);
  EXPECT_EQ(env->ServicePackLogPath(), P("sp.log"));
  EXPECT_EQ(MakeEnv({"prog"})->CommandLine(), "");
}

TEST_F(PosixEnvTest, FirstEnvironmentEntryIsTheFirstOfTheProcess) {
  auto env = MakeEnv();
  const auto first = env->FirstEnvironmentEntry();
  ASSERT_TRUE(first);
  const std::size_t equals = first->find('=');
  ASSERT_NE(equals, std::string::npos);
  EXPECT_EQ(env->GetVariable(first->substr(0, equals)), first->substr(equals + 1));
}

TEST_F(PosixEnvTest, ExitProcessEndsAtOnceWithTheStatusAfterFlushingStdio) {
  auto env = MakeEnv();
  const std::string out = P("buffered.txt");
  EXPECT_EXIT(
      {
        std::FILE* file = std::fopen(out.c_str(), "w");
        std::fputs("still in the buffer", file);
        env->ExitProcess(2);
      },
      ::testing::ExitedWithCode(2), "");
  EXPECT_EQ(Slurp(out), "still in the buffer");
}

TEST_F(PosixEnvTest, ScriptedAnswersAndTranscript) {
  setenv("ORLIXCFG_ANSWERS", "no, YES ,bogus,yes", 1);
  setenv("ORLIXCFG_TRANSCRIPT", P("boxes.jsonl").c_str(), 1);
  auto env = MakeEnv();
  const std::string tricky = "Line \"1\"\n\rpath C:\\x\ttab\x01 \xc3\xa4";
  namespace mb = platform::mb;
  struct Box {
    int flags, expected;
  } boxes[] = {
      {mb::kYesNo | mb::kIconQuestion, mb::kIdNo},  // "no"
      {mb::kOk | mb::kIconError, mb::kIdOk},        // "YES" fits no OK box
      {mb::kYesNo | mb::kDefButton2, mb::kIdNo},    // "bogus": default
      {mb::kYesNo, mb::kIdYes},                     // "yes"
      {mb::kYesNo | mb::kDefButton2, mb::kIdNo},    // beyond: default
  };
  for (const auto& box : boxes)
    EXPECT_EQ(env->MessageBox(tricky, "Titel", box.flags), box.expected);

  std::ifstream transcript(root_ / "boxes.jsonl");
  std::string line;
  std::size_t count = 0;
  const char* words[] = {"no", "ok", "no", "yes", "no"};
  while (std::getline(transcript, line)) {
    ASSERT_LT(count, std::size(boxes));
    const auto json = nlohmann::json::parse(line);
    EXPECT_EQ(json.at("text"), tricky);
    EXPECT_EQ(json.at("title"), "Titel");
    EXPECT_EQ(json.at("flags"), boxes[count].flags);
    EXPECT_EQ(json.at("answer"), words[count]);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    ++count;
  }
  EXPECT_EQ(count, std::size(boxes));
}

TEST_F(PosixEnvTest, CloseRequestAtTheNthPoll) {
  setenv("ORLIXCFG_CLOSE_AT", "3", 1);
  auto env = MakeEnv();
  std::vector<bool> polls;
  for (int i = 0; i < 5; ++i) polls.push_back(env->PollCloseRequest());
  EXPECT_EQ(polls, (std::vector<bool>{false, false, true, false, false}));
}

TEST_F(PosixEnvTest, CloseSignalsRaiseOneRequest) {
  auto env = MakeEnv();
  for (int signal_number : {SIGTERM, SIGHUP, SIGINT}) {
    EXPECT_FALSE(env->PollCloseRequest());
    std::raise(signal_number);
    EXPECT_TRUE(env->PollCloseRequest()) << signal_number;
    EXPECT_FALSE(env->PollCloseRequest());
  }
}

TEST(PosixBoxText, ShowsTitleTextLinesAndTheDefaultButton) {
  namespace mb = platform::mb;
  struct Case {
    std::string text;
    int flags;
    std::string expected;
  } cases[] = {
      {"a\n\rb", mb::kOk, "=== T ===\na\nb\n[*OK*]\n"},
      {"a\r\nb\n\nc", mb::kYesNo, "=== T ===\na\nb\n\nc\n[*Yes*]  [ No ]\n"},
      {"q", mb::kYesNo | mb::kDefButton2 | mb::kIconQuestion, "=== T ===\nq\n[ Yes ]  [*No*]\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::posix::BoxAsText(c.text, "T", c.flags), c.expected);
}

}  // namespace

#endif  // _WIN32
