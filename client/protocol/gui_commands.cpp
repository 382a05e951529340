// The ESC m commands: each reads its parameters and string exactly, then
// program selection and deletion update the program list (with the
// identification reply for a new program), commands that create or
// activate something drop queued input requests, and the command goes to
// the route its module installed.
#include <new>

#include "client/protocol/handlers.h"
#include "client/protocol/interpreter.h"
#include "client/settings/client_texts.h"

namespace veslink {

namespace {
constexpr std::string_view kNames[kGuiCommandCount] = {
    "mpi", "mpd", "mcw", "maw", "mdw", "muw", "mtw", "mxw", "mcf", "maf", "mdf", "muf",
    "mhf", "mif", "mid", "mib", "mir", "mic", "mvf", "mrc", "mrh", "mrm", "mrt", "mrs",
    "mrx", "mcc", "mdc", "mmc", "mnm", "mns", "mnh", "mgv", "mrv", "msv", "mdv", "mre",
    "mft", "msi", "mei", "mex", "mep", "mer", "met", "mes", "mxv"};

bool cancels_input_requests(GuiCommandId id) {
  switch (id) {
    case GuiCommandId::SelectProgram:
    case GuiCommandId::DeleteProgram:
    case GuiCommandId::BlankWindowArea:
    case GuiCommandId::ShowWindow:
    case GuiCommandId::DeleteWindow:
    case GuiCommandId::FieldInput:
    case GuiCommandId::GridCellInput:
    case GuiCommandId::WindowActionWait:
    case GuiCommandId::ButtonChoice:
    case GuiCommandId::CharacterInput:
    case GuiCommandId::SetFieldContents:
      return true;
    default:
      return false;
  }
}

ProgramChange select_program(Interpreter& in, const CommandParams& p) {
  if (p.P == 0) return ProgramChange::Kept;
  if (in.programs.find(p.P)) {
    in.programs.select(p.P);
    return ProgramChange::Selected;
  }
  in.programs.create(p.P, static_cast<int>(p.F), (p.D & 1) != 0);
  IdentificationFacts facts;
  facts.mail_notify = in.ui.mail_notify && in.ui.mail_notify();
  facts.with_address = (p.A & 0xFF) != 0 && in.ui.tcp_transport && in.ui.tcp_transport();
  if (facts.with_address && in.ui.local_address) facts.local_address = in.ui.local_address();
  in.replies.send(identification_reply(kClientVersion, facts));
  return ProgramChange::Created;
}

ProgramChange delete_program(Interpreter& in, const CommandParams& p) {
  if (!in.programs.remove(p.P)) return ProgramChange::NotFound;
  if (in.routes.local.program_deleted) in.routes.local.program_deleted(p.P);
  return in.programs.empty() ? ProgramChange::DeletedLast : ProgramChange::Deleted;
}

void run_gui_command(Interpreter& in) {
  const GuiCommandId id = in.pending_command;
  // The route may run a nested event loop during which further commands
  // arrive: it works on its own copy of the parameters and the string.
  const CommandParams params = in.params;
  std::optional<std::string> string;
  if (auto s = command_string(in.params, in.message_buffer)) string.emplace(*s);

  if (cancels_input_requests(id)) in.cancel_input_requests();

  ProgramChange change = ProgramChange::None;
  if (id == GuiCommandId::SelectProgram) {
    change = select_program(in, params);
  } else if (id == GuiCommandId::DeleteProgram) {
    if (params.P == 0) return;
    change = delete_program(in, params);
  }

  GuiCall call{id, params,     string ? std::optional<std::string_view>(*string) : std::nullopt,
               in, in.replies, change};
  if (const GuiRoute& route = in.routes[id]) {
    route(call);
  } else {
    answer_as_missing(call);
  }

  if (change == ProgramChange::DeletedLast) in.leave_gui_mode();
}

void gui_param_hook(Interpreter& in, std::uint8_t b) {
  if (!feed_param_byte(in.params, in.message_buffer, b)) return;
  in.byte_hook = nullptr;
  try {
    run_gui_command(in);
  } catch (const std::bad_alloc&) {
    // The command is dropped. Without its program record the host and the
    // client no longer agree on anything: that one ends the client.
    in.report_out_of_memory();
    if (in.pending_command == GuiCommandId::SelectProgram && in.ui.fatal) in.ui.fatal();
  }
}
}  // namespace

std::string_view gui_command_name(GuiCommandId id) {
  const auto i = static_cast<std::size_t>(id);
  return i < kGuiCommandCount ? kNames[i] : std::string_view("m??");
}

void answer_as_missing(const GuiCall& call) {
  HostReplies& r = call.replies;
  const CommandParams& p = call.params;
  switch (call.id) {
    case GuiCommandId::CharacterInput:
      if (p.F > 1) return;  // not a character input at all
      r.cancel();
      return;
    case GuiCommandId::FieldInput:
    case GuiCommandId::GridCellInput:
    case GuiCommandId::WindowActionWait:
    case GuiCommandId::FieldValue:
      r.cancel();
      return;
    case GuiCommandId::ButtonChoice:
    case GuiCommandId::FileExists:
      r.no_result();
      return;
    case GuiCommandId::QueryValue:
      // The title of a window that does not exist is an empty text.
      if (p.F == 5) {
        r.text_result({});
      } else {
        r.no_result();
      }
      return;
    case GuiCommandId::ReadRegistryValue:
      r.text_result({});
      return;
    case GuiCommandId::WriteRegistryValue:
    case GuiCommandId::DeleteRegistryValue:
    case GuiCommandId::DdeOpen:
    case GuiCommandId::DdeExecute:
    case GuiCommandId::DdePoke:
    case GuiCommandId::DdeRequest:
    case GuiCommandId::DdeLastError:
      r.number_result(0);
      return;
    case GuiCommandId::FileTransfer:
      if (p.F == 7) r.no_result();
      if (p.F == 18 || p.F == 19) r.number_result(0);
      return;
    case GuiCommandId::StorePicture:
      if (!(p.F & 1)) return;
      if (!call.string || call.string->substr(0, call.string->find('\t')).empty()) {
        r.no_result();
      } else {
        r.number_result(0);
      }
      return;
    case GuiCommandId::ReportViewer:
      if (p.F >= 1 && p.F <= 3) r.no_result();
      return;
    default:
      return;
  }
}

namespace handlers {

void start_gui_command(Interpreter& in, GuiCommandId id) {
  in.begin_command();
  in.pending_command = id;
  in.byte_hook = gui_param_hook;
}

}  // namespace handlers
}  // namespace veslink
