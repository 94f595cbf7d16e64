// Names derived from the executable's place and name.

#include "settings/program_identity.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

struct IdentityCase {
  char separator;
  const char* program_folder;
  const char* executable;
  const char* ocx_name;
  const char* project_folder;
  const char* last_component;
};

const IdentityCase kIdentityCases[] = {
    {'\\', "D:\\Plant\\Bin", "316_Orlix_Config", "316_Orlix", "D:\\Plant", "Bin"},
    {'\\', "D:\\Plant\\Bin", "X_Config", "X", "D:\\Plant", "Bin"},
    {'\\', "C:\\", "316_Orlix_Config", "316_Orlix", "C:", ""},
    {'\\', "C:\\Plant\\HMI\\316_Orlix", "316_Orlix_Config", "316_Orlix", "C:\\Plant\\HMI",
     "316_Orlix"},
    {'/', "/srv/plant/Bin", "316_Orlix_Config", "316_Orlix", "/srv/plant", "Bin"},
    {'/', "/", "316_Orlix_Config", "316_Orlix", "", ""},
    {'/', "/Bin", "316_Orlix_Config", "316_Orlix", "", "Bin"},
};

class IdentityTest : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(IdentityTest, DerivesTheNames) {
  const IdentityCase& c = GetParam();
  platform::MemoryEnv env(c.separator);
  env.SetProgramFolder(c.program_folder);
  env.SetExecutable(c.executable, c.executable);
  shell::Window window = shell::MakeMainWindow();
  shell::RunState state(env, window);
  EXPECT_EQ(settings::GetOCXName(state), c.ocx_name);
  EXPECT_EQ(settings::ProjectFolder(state), c.project_folder);
  EXPECT_EQ(settings::GetFileNameOnly(state, c.program_folder), c.last_component);
  EXPECT_TRUE(env.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Folders, IdentityTest, ::testing::ValuesIn(kIdentityCases));

struct FileNameCase {
  const char* path;
  const char* expected;
};

class FileNameOnlyTest : public testrun::RunFixture,
                         public ::testing::WithParamInterface<FileNameCase> {};

TEST_P(FileNameOnlyTest, TextAfterTheLastBackslash) {
  EXPECT_EQ(settings::GetFileNameOnly(state, GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, FileNameOnlyTest,
                         ::testing::Values(FileNameCase{"a\\b.txt", "b.txt"},
                                           FileNameCase{"b.txt", "b.txt"}, FileNameCase{"a\\", ""},
                                           FileNameCase{"D:\\Plant\\Bin", "Bin"},
                                           FileNameCase{"a/b.txt", "a/b.txt"},
                                           FileNameCase{"", ""}));

class ShortNameTest : public testrun::RunFixture {};

TEST_F(ShortNameTest, ExecutableNameShorterThanTheSuffixIsReported) {
  env.SetExecutable("Cfg", "Cfg");
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(settings::GetOCXName(state), "");
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  const std::string log = Bytes(testrun::kErrorLog);
  EXPECT_TRUE(log.starts_with("Fehler in  / Cfg / GetOCXName (Nr. ")) << log;
}

// Each dropped character lets pending messages run once: a close request
// raised then is taken in the middle of the derivation.
TEST_F(ShortNameTest, ProjectFolderLetsMessagesRunOncePerDroppedCharacter) {
  settings::ProjectFolder(state);
  EXPECT_EQ(env.PollCount(), 3);  // "Bin"
}

}  // namespace
