// The GUI commands (ESC m + two letters) and the routes that carry each one,
// once its parameters and string are read, to the module that owns it: the
// screen model, the local services, the navigation pane. The interpreter
// reads every command exactly; the modules install named functions here, so
// the interpreter depends on none of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "client/protocol/command_params.h"

namespace veslink {

class Interpreter;
class HostReplies;

enum class GuiCommandId : std::uint8_t {
  SelectProgram,         // mpi
  DeleteProgram,         // mpd
  CreateWindow,          // mcw
  ShowWindow,            // maw
  DeleteWindow,          // mdw
  ChangeWindowFlags,     // muw
  SetWindowTag,          // mtw
  BlankWindowArea,       // mxw
  CreateField,           // mcf
  SetFieldContents,      // maf
  DeleteField,           // mdf
  ChangeField,           // muf
  SetFieldHelp,          // mhf
  FieldInput,            // mif
  GridCellInput,         // mid
  WindowActionWait,      // mib
  ButtonChoice,          // mir
  CharacterInput,        // mic
  FieldValue,            // mvf
  SetCurrentRow,         // mrc
  MarkGridRow,           // mrh
  AddColumnSeparator,    // mrm
  SetPositionIndicator,  // mrt
  ScrollRows,            // mrs
  ClearRows,             // mrx
  ShowCaret,             // mcc
  HideCaret,             // mdc
  MoveCaret,             // mmc
  MailMark,              // mnm
  FrameServices,         // mns
  OpenHelp,              // mnh
  QueryValue,            // mgv
  ReadRegistryValue,     // mrv
  WriteRegistryValue,    // msv
  DeleteRegistryValue,   // mdv
  FileExists,            // mre
  FileTransfer,          // mft
  StorePicture,          // msi
  DdeOpen,               // mei
  DdeExecute,            // mex
  DdePoke,               // mep
  DdeRequest,            // mer
  DdeClose,              // met
  DdeLastError,          // mes
  ReportViewer,          // mxv
  kCount
};
constexpr std::size_t kGuiCommandCount = static_cast<std::size_t>(GuiCommandId::kCount);

// The three letters after ESC ("mpi") of a command, for logs and tests.
std::string_view gui_command_name(GuiCommandId id);

// What the client answers when the object a command names does not exist:
// ^^ for an input request, ESC nr ^M for a query without a result, and the
// failure replies of the local services. Nothing for commands that answer
// nothing. A module answers this way for what it cannot find.
void answer_as_missing(const struct GuiCall& call);

// What ESC mpi and ESC mpd did to the program list before their route runs.
enum class ProgramChange : std::uint8_t {
  None,         // not a program command
  Kept,         // mpi with P 0: the current program stays
  Selected,     // mpi: an existing program became current
  Created,      // mpi: a new program was created and identified
  Deleted,      // mpd: the program was removed, others remain
  DeletedLast,  // mpd: the last program was removed
  NotFound,     // mpd: no such program
};

struct GuiCall {
  GuiCommandId id;
  const CommandParams& params;
  std::optional<std::string_view> string;  // nothing when the command had none
  Interpreter& interpreter;
  HostReplies& replies;
  ProgramChange program_change = ProgramChange::None;
};

using GuiRoute = std::function<void(const GuiCall&)>;

// Commands outside the ESC m family that a module carries out.
struct LocalRoutes {
  // ESC vx: start a local program; the route answers one digit.
  std::function<void(bool wait, std::string_view directory, std::string_view command_line,
                     HostReplies&)>
      launch_program;
  // ESC dG: send a local file's bytes, then ^D ^M.
  std::function<void(std::string_view file_name, HostReplies&)> send_local_file;
  // ESC mpd removed a program: its transfer files and DDE conversations go
  // with it (the screen model's part is the DeleteProgram route).
  std::function<void(std::uint32_t program)> program_deleted;
};

struct GuiRoutes {
  std::array<GuiRoute, kGuiCommandCount> command;
  LocalRoutes local;

  GuiRoute& operator[](GuiCommandId id) { return command[static_cast<std::size_t>(id)]; }
  const GuiRoute& operator[](GuiCommandId id) const {
    return command[static_cast<std::size_t>(id)];
  }
};

}  // namespace veslink
