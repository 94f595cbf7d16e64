#pragma once
// The main window as a headless control model: what the program reads and
// sets of the window and its controls, and nothing of how it would be drawn.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

enum class MousePointer { kDefault, kHourglass };

struct Control {
  std::string name;
  std::string kind;  // the toolkit's kind name: "Frame", "CommandButton", "Label"
  std::string caption;
  std::string tag;
  std::optional<int> index;  // set for members of a control array
  int help_id = 0;           // What's-This help ID; 0 = none
  std::string tool_tip;
  bool enabled = true;
  std::string picture;  // GIF bytes of a picture button
};

struct Window {
  std::string name;
  std::string caption;
  MousePointer mouse_pointer = MousePointer::kDefault;
  std::vector<Control> controls;  // in the order of the window definition
  std::string configuration_ini_path;

  Control& Find(std::string_view control_name);
};

// frm_316_Orlix_config_Exe as it stands before its load step.
Window MakeMainWindow();

}  // namespace shell
