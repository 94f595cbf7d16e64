// The machine list in integrated and standalone mode.

#include "settings/machine_inventory.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "shell/run_fixture.h"

namespace {

using Names = std::optional<std::vector<std::string>>;

struct InventoryCase {
  const char* name;
  bool integrated;
  const char* configuration_ini;  // nullptr: no file
  const char* program_ini;        // nullptr: no file
  Names expected;
};

const InventoryCase kInventoryCases[] = {
    {"IntegratedStopsAtDash", true,
     "[Common]\r\nNameM1=Line A\r\nNameM2=Line B\r\nNameM3=-\r\nNameM4=Line D\r\n", nullptr,
     std::vector<std::string>{"", "Line A", "Line B"}},
    {"IntegratedReadsAtMostFive", true,
     "[Common]\r\nNameM1=1\r\nNameM2=2\r\nNameM3=3\r\nNameM4=4\r\nNameM5=5\r\nNameM6=6\r\n",
     nullptr, std::vector<std::string>{"", "1", "2", "3", "4", "5"}},
    {"IntegratedWithoutNameM1HasNoList", true, "[Common]\r\nNameM2=Line B\r\n", nullptr,
     std::nullopt},
    {"IntegratedWithoutConfigurationIni", true, nullptr, nullptr, std::nullopt},
    {"IntegratedIgnoresTheProgramIni", true, "[Common]\r\nNameM1=A\r\n",
     "[Project]\r\nNumberOfMachines=2\r\n", std::vector<std::string>{"", "A"}},
    {"StandaloneKeepsGaps", false, nullptr,
     "[Project]\r\nNumberOfMachines=3\r\n[Machine1]\r\nMachineName=M1\r\n[Machine3]\r\n"
     "MachineName=M3\r\n",
     std::vector<std::string>{"", "M1", "", "M3"}},
    {"StandaloneReadsAsManyAsCounted", false, nullptr, "[Project]\r\nNumberOfMachines=7\r\n",
     std::vector<std::string>(8)},
    {"StandaloneWithoutCountHasNoList", false, nullptr, "[Machine1]\r\nMachineName=M1\r\n",
     std::nullopt},
    {"StandaloneCountZero", false, nullptr, "[Project]\r\nNumberOfMachines=0\r\n", std::nullopt},
    {"StandaloneWithoutProgramIni", false, "[Common]\r\nNameM1=A\r\n", nullptr, std::nullopt},
};

class InventoryTest : public testrun::RunFixture,
                      public ::testing::WithParamInterface<InventoryCase> {};

TEST_P(InventoryTest, FillsTheMachineList) {
  const auto& c = GetParam();
  if (c.configuration_ini) env.PutFile(testrun::kConfigurationIni, c.configuration_ini);
  if (c.program_ini) env.PutFile(testrun::kProgramIni, c.program_ini);
  state.integrated = c.integrated;
  settings::GetExistingMachines(state, c.configuration_ini ? testrun::kConfigurationIni : "");
  EXPECT_EQ(state.MachineNames, c.expected);
  EXPECT_EQ(state.ProgramIniPath, (!c.integrated && c.program_ini) ? testrun::kProgramIni : "");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Modes, InventoryTest, ::testing::ValuesIn(kInventoryCases),
                         [](const auto& info) { return std::string(info.param.name); });

class UpperIndexTest : public testrun::RunFixture {};

TEST_F(UpperIndexTest, MissingListIsASubscriptError) {
  try {
    settings::MachineNamesUpperIndex(state);
    FAIL() << "no failure";
  } catch (const platform::Failure& f) {
    EXPECT_EQ(f.number(), 9);
    EXPECT_EQ(f.source(), "316_Orlix_Config");
  }
  state.MachineNames = std::vector<std::string>{"", "a", "b"};
  EXPECT_EQ(settings::MachineNamesUpperIndex(state), 2);
}

TEST_F(UpperIndexTest, CountBeyond16BitsIsReportedAndGivesNoMachine) {
  env.PutFile(testrun::kProgramIni, "[Project]\r\nNumberOfMachines=70000\r\n");
  env.QueueAnswer(platform::mb::kIdYes);
  settings::GetExistingMachines(state, "");
  EXPECT_FALSE(state.MachineNames.has_value());
  EXPECT_EQ(env.MessageBoxes().size(), 1u);
}

TEST_F(UpperIndexTest, ValidMachinesComesFromTheCfgFile) {
  env.PutFile(testrun::kCfg, "[project]\r\nvalidmachines=Line A;Line B\r\n");
  EXPECT_EQ(settings::GetValidMachines(state), "Line A;Line B");
}

}  // namespace
