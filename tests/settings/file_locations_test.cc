// Where the program's files lie, and what a missing one leads to.

#include "settings/file_locations.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

class LocationTest : public testrun::RunFixture {
 protected:
  void PutAllUnitFiles() {
    env.PutFile(testrun::kConfigurationIni, "");
    env.PutFile(testrun::kProgramIni, "");
    env.PutFile(testrun::kCfg, "");
    env.PutFile("D:\\Plant\\316_Orlix\\316_Orlix_Source.mdb", "");
  }
};

TEST_F(LocationTest, PresentFilesOfTheUnit) {
  PutAllUnitFiles();
  EXPECT_EQ(settings::GetKV9ConfigurationIniPath(state), testrun::kConfigurationIni);
  EXPECT_EQ(settings::GetProgramIniPath(state), testrun::kProgramIni);
  EXPECT_EQ(settings::GetCFGPath(state), testrun::kCfg);
  EXPECT_EQ(settings::GetPathOCXMDB(state), "D:\\Plant\\316_Orlix\\316_Orlix.mdb");
  EXPECT_EQ(settings::GetPathSourceOCXMDB(state), "D:\\Plant\\316_Orlix\\316_Orlix_Source.mdb");
}

TEST_F(LocationTest, AbsentFilesGiveEmptyTextsButTheOcxDatabaseIsNotProbed) {
  EXPECT_EQ(settings::GetKV9ConfigurationIniPath(state), "");
  EXPECT_EQ(settings::GetProgramIniPath(state), "");
  EXPECT_EQ(settings::GetPathSourceOCXMDB(state), "");
  EXPECT_EQ(settings::GetPathOCXMDB(state), "D:\\Plant\\316_Orlix\\316_Orlix.mdb");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

TEST_F(LocationTest, ProgramIniIsFoundWhateverItsLetterCase) {
  env.PutFile("D:\\Plant\\parameter\\PROGRAM.INI", "");
  EXPECT_FALSE(settings::GetProgramIniPath(state).empty());
}

TEST_F(LocationTest, RenamedExecutableMovesTheUnitFolder) {
  env.SetExecutable("X_Config", "X_Config");
  EXPECT_EQ(settings::GetPathOCXMDB(state), "D:\\Plant\\X\\X.mdb");
}

struct SaveAndRestoreCase {
  const char* folder;
  bool integrated;
  const char* program_ini;   // probed: the file is put there
  const char* machine_copy;  // probed: the file is put there
};

class SaveAndRestoreTest : public testrun::RunFixture,
                           public ::testing::WithParamInterface<SaveAndRestoreCase> {};

TEST_P(SaveAndRestoreTest, PathsBelowTheSaveAndRestoreFolder) {
  const auto& c = GetParam();
  env.PutFile(testrun::kConfigurationIni,
              std::string("[Common]\r\nSaveAndRestore=") + c.folder + "\r\n");
  env.PutFile(testrun::kProgramIni, "");
  env.PutFile(c.program_ini, "");
  env.PutFile(c.machine_copy, "");
  state.integrated = c.integrated;
  EXPECT_EQ(settings::GetProgramIniPath(state), c.program_ini);
  EXPECT_EQ(settings::GetPathMachineCopyMDB(state, testrun::kConfigurationIni), c.machine_copy);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, SaveAndRestoreTest,
    ::testing::Values(SaveAndRestoreCase{"E:\\Save", true, "E:\\Save\\parameter\\program.ini",
                                         "E:\\Save\\316_Orlix\\316_Orlix.mdb"},
                      SaveAndRestoreCase{"E:\\Save\\", true, "E:\\Save\\parameter\\program.ini",
                                         "E:\\Save\\316_Orlix\\316_Orlix.mdb"},
                      SaveAndRestoreCase{"E:\\Save", false, testrun::kProgramIni,
                                         "E:\\Save\\316_Orlix\\316_Orlix.mdb"}));

TEST_F(LocationTest, MissingMachineCopyGivesAnEmptyText) {
  env.PutFile(testrun::kConfigurationIni, "[Common]\r\nSaveAndRestore=E:\\Save\r\n");
  EXPECT_EQ(settings::GetPathMachineCopyMDB(state, testrun::kConfigurationIni), "");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

TEST_F(LocationTest, MissingCfgFileIsShownAndEndsTheProgram) {
  try {
    settings::GetCFGPath(state);
    FAIL() << "the program went on";
  } catch (const platform::ProcessExit& exit) {
    EXPECT_EQ(exit.status, 2);
  }
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text, "File not found: \n\rD:\\PLANT\\316_ORLIX\\316_ORLIX.CFG");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 16);
  EXPECT_EQ(env.MessageBoxes()[0].title, "316_Orlix_Config");
}

TEST(FilesystemRootTest, ProgramFolderAtTheRootOfASlashFilesystem) {
  platform::MemoryEnv env('/');
  env.AddFolder("/parameter");
  env.PutFile("/parameter/kv9configuration.ini", "");
  env.SetProgramFolder("/");
  shell::Window window = shell::MakeMainWindow();
  shell::RunState state(env, window);
  EXPECT_EQ(settings::GetKV9ConfigurationIniPath(state), "/parameter/kv9configuration.ini");
  EXPECT_EQ(settings::GetPathOCXMDB(state), "/316_Orlix/316_Orlix.mdb");
}

}  // namespace
