// The additional columns named in the CFG file.

#include "settings/additional_fields.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/run_fixture.h"

namespace {

struct FieldsCase {
  const char* entry;  // nullptr: no DataBaseAdditionalFields entry
  std::vector<std::string> fields;
  const char* sql;
};

const FieldsCase kFieldsCases[] = {
    {nullptr, {"", "part"}, ", PRESET_DEFS.part"},
    {"speed,temp",
     {"", "part", "speed", "temp"},
     ", PRESET_DEFS.part, PRESET_DEFS.speed, PRESET_DEFS.temp"},
    {"speed, temp",
     {"", "part", "speed", " temp"},
     ", PRESET_DEFS.part, PRESET_DEFS.speed, PRESET_DEFS. temp"},
    {"a,,b,",
     {"", "part", "a", "", "b", ""},
     ", PRESET_DEFS.part, PRESET_DEFS.a, PRESET_DEFS., PRESET_DEFS.b, PRESET_DEFS."},
    {"part", {"", "part", "part"}, ", PRESET_DEFS.part, PRESET_DEFS.part"},
};

class FieldsTest : public testrun::RunFixture, public ::testing::WithParamInterface<FieldsCase> {};

TEST_P(FieldsTest, ListFragmentAndCount) {
  const auto& c = GetParam();
  std::string cfg = "[Project]\r\nValidMachines=ALL\r\n";
  if (c.entry) cfg += std::string("DataBaseAdditionalFields=") + c.entry + "\r\n";
  env.PutFile(testrun::kCfg, cfg);
  EXPECT_EQ(settings::GetAdditionalFieldsMDB(state), c.fields);
  settings::GetAddFields(state);
  EXPECT_EQ(state.AdditionalFields, c.fields);
  EXPECT_EQ(state.AdditionalFieldsSql, c.sql);
  EXPECT_EQ(state.AdditionalFieldsCount, static_cast<std::int16_t>(c.fields.size() - 1));
}

INSTANTIATE_TEST_SUITE_P(Entries, FieldsTest, ::testing::ValuesIn(kFieldsCases));

}  // namespace
