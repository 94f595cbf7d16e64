#include "shell/main_window.h"

#include "diagnostics/error_sub.h"
#include "diagnostics/procedure.h"
#include "presets/work_on_mdb.h"
#include "settings/edit_info.h"
#include "settings/file_locations.h"
#include "settings/machine_inventory.h"
#include "settings/program_identity.h"
#include "shell/cancel_confirmation.h"
#include "shell/command_line.h"
#include "texts/language_texts.h"

namespace shell {
namespace {

constexpr int kLastMachineSlot = 5;

}  // namespace

void Form_Load(RunState& state) {
  diagnostics::Procedure proc(state, "Form_Load");
  Window& window = state.window;
  proc.Step([&] { texts::LoadToolTipTexts(state); });
  proc.Step([&] { window.configuration_ini_path = settings::GetKV9ConfigurationIniPath(state); });
  if (proc.If([&] { return GetStartModeIntegrated(state); })) {
    proc.Step([&] {
      window.caption = "Erweiterte Konfiguration " +
                       settings::GetFileNameOnly(state, state.env.ProgramFolder()) +
                       " - integriert";
    });
  } else {
    proc.Step([&] {
      window.caption = "Erweiterte Konfiguration " +
                       settings::GetFileNameOnly(state, state.env.ProgramFolder()) +
                       " - standalone";
    });
  }
  proc.Step([&] { settings::GetExistingMachines(state, window.configuration_ini_path); });
  proc.Step([&] { SetupUserInterFace(state); });
  if (proc.If([&] { return !state.silent; })) {
    proc.Step([&] { window.Find("CommandOK").enabled = true; });
    proc.Step([&] { window.Find("CommandCancel").enabled = true; });
  } else {
    proc.Step([&] { CommandOK_Click(state); });
  }
  proc.Step([&] { CloseMe(state); });
}

void SetupUserInterFace(RunState& state) {
  diagnostics::Procedure proc(state, "SetupUserInterFace");
  int slot = 0;
  if (const auto upper = proc.LoopBound([&] { return settings::MachineNamesUpperIndex(state); })) {
    for (slot = 1; slot <= *upper; ++slot) {
    }
  }
  for (; slot <= kLastMachineSlot; ++slot) {
  }
}

void CommandOK_Click(RunState& state) {
  diagnostics::Procedure proc(state, "CommandOK_Click");
  proc.Step([&] { state.window.Find("CommandOK").enabled = false; });
  proc.Step([&] { state.window.Find("CommandCancel").enabled = false; });
  proc.Step([&] { CloseMe(state); });
}

int CloseMeExitStatus(const RunState& state) {
  return state.failure_reports > 0 ? 1 : 0;
}

void CloseMe(RunState& state) {
  diagnostics::Procedure proc(state, "CloseMe");
  proc.Step([&] { DoEvents(state); });
  proc.Step([&] { state.window.mouse_pointer = MousePointer::kHourglass; });
  proc.Step([&] { presets::WorkOnMDB(state); });
  proc.Step([&] { WriteInputs(state); });
  proc.Step([&] { state.window.mouse_pointer = MousePointer::kDefault; });
  state.env.ExitProcess(CloseMeExitStatus(state));
}

void WriteInputs(RunState& state) {
  diagnostics::Procedure proc(state, "WriteInputs");
  proc.Step([&] { settings::WriteEditInfo(state); });
}

bool Form_QueryUnload(RunState& state) {
  diagnostics::Procedure proc(state, "Form_QueryUnload");
  bool cancel = true;
  proc.Step([&] { cancel = !ConfirmCancel(state); });
  return cancel;
}

void DoEvents(RunState& state) {
  if (!state.env.PollCloseRequest()) return;
  if (!Form_QueryUnload(state)) diagnostics::EndProgram(state);
}

}  // namespace shell
