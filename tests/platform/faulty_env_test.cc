#include "platform/faulty_env.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/memory_env.h"

namespace {

using platform::Failure;
using platform::FaultyEnv;
using platform::MemoryEnv;
using platform::OpenMode;

int ErrorOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

std::span<const std::byte> Bytes(std::string_view text) {
  return std::as_bytes(std::span(text));
}

class FaultyEnvTest : public ::testing::Test {
 protected:
  FaultyEnvTest() : memory_('\\'), env_(memory_) {
    memory_.PutFile("D:\\Plant\\Bin\\db.mdb", "0123456789");
    memory_.PutFile("D:\\Plant\\Bin\\a.ini", "[S]\r\n");
  }
  MemoryEnv memory_;
  FaultyEnv env_;
};

TEST_F(FaultyEnvTest, TheNthWriteFailsWhateverKindOfWriteItIs) {
  auto file = env_.OpenFile("D:\\Plant\\Bin\\db.mdb", OpenMode::kReadWrite);
  env_.FailWrite(3);
  env_.ReplaceWholeFile("D:\\Plant\\Bin\\a.ini", "one");  // 1
  file->Write(0, Bytes("AB"));                            // 2
  EXPECT_EQ(ErrorOf([&] { file->Write(4, Bytes("XY")); }), 57);
  EXPECT_EQ(memory_.FileBytes("D:\\Plant\\Bin\\db.mdb"),
            "AB23456789");      // failed write changed nothing
  file->Write(4, Bytes("XY"));  // the fault hits once
  env_.AppendToFile("D:\\plant\\bin\\A.INI", "+");
  EXPECT_EQ(memory_.FileBytes("D:\\Plant\\Bin\\db.mdb"), "AB23XY6789");
  EXPECT_EQ(memory_.FileBytes("D:\\Plant\\Bin\\a.ini"), "one+");
  EXPECT_EQ(env_.WriteCount(), 5);
}

TEST_F(FaultyEnvTest, FailingCopyAndAppendLeaveFilesAsTheyWere) {
  struct Case {
    const char* what;
    std::function<void(FaultyEnv&)> write;
  } cases[] = {
      {"copy",
       [](FaultyEnv& env) {
         env.CopyFileReplacing("D:\\Plant\\Bin\\db.mdb", "D:\\Plant\\Bin\\a.ini");
       }},
      {"append", [](FaultyEnv& env) { env.AppendToFile("D:\\Plant\\Bin\\a.ini", "more"); }},
      {"replace", [](FaultyEnv& env) { env.ReplaceWholeFile("D:\\Plant\\Bin\\a.ini", "new"); }},
  };
  for (const auto& c : cases) {
    env_.FailWrite(1, platform::err::kPermissionDenied);
    EXPECT_EQ(ErrorOf([&] { c.write(env_); }), 70) << c.what;
    EXPECT_EQ(memory_.FileBytes("D:\\Plant\\Bin\\a.ini"), "[S]\r\n") << c.what;
  }
}

TEST_F(FaultyEnvTest, AFullDiskRefusesWritesPastTheBudget) {
  env_.LimitDiskTo(10);
  env_.AppendToFile("D:\\Plant\\Bin\\log.txt", "123456");
  EXPECT_EQ(ErrorOf([&] { env_.AppendToFile("D:\\Plant\\Bin\\log.txt", "78901"); }), 61);
  env_.AppendToFile("D:\\Plant\\Bin\\log.txt", "7890");
  EXPECT_EQ(ErrorOf([&] { env_.CreateFile("D:\\Plant\\Bin\\x.mdb")->Write(0, Bytes("x")); }), 61);
  EXPECT_EQ(memory_.FileBytes("D:\\Plant\\Bin\\log.txt"), "1234567890");
}

TEST_F(FaultyEnvTest, ReadOnlyPathsRefuseEveryChangeButAllowReading) {
  env_.MakeReadOnly("D:\\Plant\\Bin\\db.mdb");
  const std::string other_case = "D:\\PLANT\\bin\\DB.MDB";
  EXPECT_EQ(ErrorOf([&] { env_.ReplaceWholeFile(other_case, "x"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.AppendToFile(other_case, "x"); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.OpenFile(other_case, OpenMode::kReadWrite); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.CreateFile(other_case); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.RemoveFile(other_case); }), 70);
  EXPECT_EQ(ErrorOf([&] { env_.CopyFileReplacing("D:\\Plant\\Bin\\a.ini", other_case); }), 70);
  EXPECT_FALSE(env_.SetFileTimes(other_case, {}));
  EXPECT_EQ(env_.ReadWholeFile(other_case), "0123456789");
  EXPECT_EQ(env_.OpenFile(other_case, OpenMode::kRead)->Size(), 10u);
  env_.ReplaceWholeFile("D:\\Plant\\Bin\\a.ini", "still writable");
}

}  // namespace
