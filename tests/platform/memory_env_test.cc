// The in-memory Env that the other layers' tests run against: it must behave
// like the real ones where those tests depend on it.

#include "platform/memory_env.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstddef>

namespace platform {
namespace {

TEST(MemoryEnvPaths, ResolveWithoutRegardToCaseAndKeepNewLetters) {
  MemoryEnv env('\\');
  env.PutFile("D:\\Plant\\Bin\\Program.ini", "x");
  struct Row {
    const char* asked;
    const char* resolved;
  } rows[] = {
      {"D:\\Plant\\Bin\\Program.ini", "D:\\Plant\\Bin\\Program.ini"},
      {"D:\\PLANT\\bin\\program.INI", "D:\\Plant\\Bin\\Program.ini"},
      {"D:\\plant\\BIN\\New.LOG", "D:\\Plant\\Bin\\New.LOG"},
      {"D:\\plant\\Other\\x.ini", "D:\\Plant\\Other\\x.ini"},
      {"D:\\Plant\\Bin\\", "D:\\Plant\\Bin"},
  };
  for (const Row& row : rows) EXPECT_EQ(env.ResolvePath(row.asked), row.resolved) << row.asked;
  EXPECT_EQ(env.ReadWholeFile("d:\\plant\\bin\\PROGRAM.ini"), "x");
  EXPECT_TRUE(env.FolderExists("D:\\PLANT"));
  EXPECT_FALSE(env.FolderExists("D:\\Plant\\Other"));
}

TEST(MemoryEnvPaths, ExactMatchWinsOverCaseInsensitiveOne) {
  MemoryEnv env;
  env.PutFile("/p/a.ini", "lower");
  env.PutFile("/p/A.ini", "upper");
  EXPECT_EQ(env.ReadWholeFile("/p/A.ini"), "upper");
  EXPECT_EQ(env.ReadWholeFile("/p/a.ini"), "lower");
}

class MemoryEnvFiles : public ::testing::Test {
 protected:
  void SetUp() override { env_.AddFolder("/data"); }

  static std::int32_t ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const Failure& failure) {
      return failure.number();
    }
    return 0;
  }

  MemoryEnv env_;
};

TEST_F(MemoryEnvFiles, RefusedWritesCarryTheFileErrorNumbers) {
  env_.PutFile("/data/ro.mdb", "old", /*read_only=*/true);
  EXPECT_EQ(ErrorOf([&] { env_.ReplaceWholeFile("/data/ro.mdb", "new"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.AppendToFile("/data/ro.mdb", "new"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.OpenFile("/data/ro.mdb", OpenMode::kReadWrite); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.RemoveFile("/data/ro.mdb"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.ReplaceWholeFile("/nowhere/x.ini", "new"); }), 76);
  EXPECT_EQ(ErrorOf([&] { env_.ReplaceWholeFile("/data", "new"); }), 75);
  EXPECT_EQ(ErrorOf([&] { env_.OpenFile("/data/missing.mdb", OpenMode::kRead); }), 53);
  EXPECT_EQ(ErrorOf([&] { env_.CopyFileReplacing("/data/missing.mdb", "/data/b.mdb"); }), 53);
  EXPECT_EQ(ErrorOf([&] { env_.CopyFileReplacing("/data/ro.mdb", "/data/ro.mdb"); }), 70);
  EXPECT_EQ(env_.FileBytes("/data/ro.mdb"), "old");
}

TEST_F(MemoryEnvFiles, RandomAccessFileReadsWritesAndGrows) {
  auto file = env_.CreateFile("/data/db.mdb");
  const std::array<std::byte, 3> data = {std::byte{1}, std::byte{2}, std::byte{3}};
  file->Write(4, data);
  EXPECT_EQ(file->Size(), 7u);
  std::array<std::byte, 3> back{};
  file->Read(4, back);
  EXPECT_EQ(back, data);
  EXPECT_EQ(ErrorOf([&] { file->Read(5, back); }), 62);
  file->Truncate(2);
  EXPECT_EQ(env_.FileBytes("/data/db.mdb"), std::string(2, '\0'));
  auto reader = env_.OpenFile("/data/db.mdb", OpenMode::kRead);
  EXPECT_FALSE(reader->Writable());
  EXPECT_EQ(ErrorOf([&] { reader->Write(0, data); }), 54);
}

TEST_F(MemoryEnvFiles, InPlaceWritesKeepIdentityReplacementsDoNot) {
  env_.PutFile("/data/src.mdb", "abc");
  const FileStamp first = *env_.Stat("/data/src.mdb");
  env_.OpenFile("/data/src.mdb", OpenMode::kReadWrite)->Write(0, std::as_bytes(std::span("x", 1)));
  EXPECT_EQ(env_.Stat("/data/src.mdb")->identity, first.identity);
  env_.ReplaceWholeFile("/data/src.mdb", "new");
  EXPECT_NE(env_.Stat("/data/src.mdb")->identity, first.identity);
}

TEST_F(MemoryEnvFiles, CopyKeepsSourceLastWriteAndTimesRoundTrip) {
  env_.PutFile("/data/src.mdb", "abc");
  const FileTimes saved{111, 222, 333};
  ASSERT_TRUE(env_.SetFileTimes("/data/src.mdb", saved));
  const auto times = env_.GetFileTimes("/data/src.mdb");
  EXPECT_EQ(times->creation, 111);
  EXPECT_EQ(times->last_write, 333);
  env_.AdvanceClock(std::chrono::hours(2));
  env_.CopyFileReplacing("/data/src.mdb", "/data/OCX.mdb");
  EXPECT_EQ(env_.FileBytes("/data/ocx.mdb"), "abc");
  EXPECT_EQ(env_.GetFileTimes("/data/ocx.mdb")->last_write, 333);
  EXPECT_FALSE(env_.SetFileTimes("/data/none.mdb", saved));
}

TEST_F(MemoryEnvFiles, HiddenFilesAreNoOrdinaryFiles) {
  env_.PutFile("/data/a.cfg", "");
  env_.PutFile("/data/h.cfg", "");
  env_.SetHidden("/data/h.cfg", true);
  EXPECT_TRUE(env_.IsOrdinaryFile("/data/A.CFG"));
  EXPECT_FALSE(env_.IsOrdinaryFile("/data/h.cfg"));
  EXPECT_FALSE(env_.IsOrdinaryFile("/data"));
  EXPECT_FALSE(env_.IsOrdinaryFile("/data/none.cfg"));
}

TEST_F(MemoryEnvFiles, AppendCreatesThenAppends) {
  env_.AppendToFile("/data/err.log", "one\r\n");
  env_.AppendToFile("/data/ERR.log", "two\r\n");
  EXPECT_EQ(env_.FileBytes("/data/err.log"), "one\r\ntwo\r\n");
}

TEST(MemoryEnvDialogs, ScriptedAnswersThenDefaultButtonsAllRecorded) {
  MemoryEnv env;
  env.QueueAnswer(mb::kIdNo);
  EXPECT_EQ(env.MessageBox("Cancel?", "Title", mb::kYesNo | mb::kIconQuestion), mb::kIdNo);
  EXPECT_EQ(env.MessageBox("Again?", "Title", mb::kYesNo), mb::kIdYes);
  EXPECT_EQ(env.MessageBox("Sure?", "Title", mb::kYesNo | mb::kDefButton2), mb::kIdNo);
  EXPECT_EQ(env.MessageBox("Done", "Info", mb::kOk | mb::kIconInformation), mb::kIdOk);
  ASSERT_EQ(env.MessageBoxes().size(), 4u);
  EXPECT_EQ(env.MessageBoxes()[0].text, "Cancel?");
  EXPECT_EQ(env.MessageBoxes()[0].flags, mb::kYesNo | mb::kIconQuestion);
  EXPECT_EQ(env.MessageBoxes()[0].answer, mb::kIdNo);
  EXPECT_EQ(env.MessageBoxes()[3].title, "Info");
}

TEST(MemoryEnvProcess, CloseRequestAtChosenPollAndExitIsVisible) {
  MemoryEnv env;
  env.RaiseCloseRequestAtPoll(3);
  EXPECT_FALSE(env.PollCloseRequest());
  EXPECT_FALSE(env.PollCloseRequest());
  EXPECT_TRUE(env.PollCloseRequest());
  EXPECT_FALSE(env.PollCloseRequest());
  env.RaiseCloseRequest();
  EXPECT_TRUE(env.PollCloseRequest());
  EXPECT_FALSE(env.PollCloseRequest());
  try {
    env.ExitProcess(2);
    FAIL() << "ExitProcess returned";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.status, 2);
  }
}

TEST(MemoryEnvProcess, FactsAsSet) {
  MemoryEnv env('\\');
  EXPECT_EQ(env.ExecutableFileName(), "316_Orlix_Config.exe");
  EXPECT_EQ(env.ServicePackLogPath(), "C:\\VelmorServicePack.log");
  env.SetEnvironment({"USERNAME=mk", "PATH=C:\\x"});
  EXPECT_EQ(env.FirstEnvironmentEntry(), "USERNAME=mk");
  EXPECT_EQ(env.GetVariable("PATH"), "C:\\x");
  EXPECT_EQ(env.GetVariable("PAT"), std::nullopt);
  const auto start = env.Now();
  env.AdvanceClock(std::chrono::seconds(5));
  EXPECT_EQ(env.Now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace platform
