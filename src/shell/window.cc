#include "shell/window.h"

#include "platform/error.h"
#include "shell/button_pictures.h"

namespace shell {
namespace {

Control MakeControl(std::string name, std::string kind, int help_id, bool enabled,
                    std::string picture) {
  Control control;
  control.name = std::move(name);
  control.kind = std::move(kind);
  control.help_id = help_id;
  control.enabled = enabled;
  control.picture = std::move(picture);
  return control;
}

}  // namespace

Control& Window::Find(std::string_view control_name) {
  for (Control& control : controls) {
    if (control.name == control_name) return control;
  }
  throw platform::Failure(platform::err::kSubscriptOutOfRange, name,
                          "The window has no control " + std::string(control_name));
}

Window MakeMainWindow() {
  Window window;
  window.name = "frm_316_Orlix_config_Exe";
  window.caption = "Base KV9CFG-Erweiterung";
  // OK and Cancel are enabled by the load step, outside silent mode.
  window.controls = {
      MakeControl("MainFrame", "Frame", 0, true, ""),
      MakeControl("CommandOK", "CommandButton", 1, false, TickPicture()),
      MakeControl("CommandCancel", "CommandButton", 2, false, CrossPicture()),
      MakeControl("CommandQuest", "CommandButton", 0, true, QuestionPicture()),
      MakeControl("Header", "Label", 0, true, ""),
  };
  window.controls.back().caption = "316_Orlix - Konfiguration D\xC3\xBCsenbeleimung 316";
  return window;
}

}  // namespace shell
