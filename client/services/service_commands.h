// The local services' entry for the host's commands: registry values, local
// files, transfer files, DDE conversations, the report viewer bridge,
// starting local programs and sending a local file. One named function per
// command, installed as the interpreter's routes. Testing a file's existence
// and sending a file are done here already; the others answer with the
// services' failure replies until their modules fill them in (a registry
// read gives an empty text, writes and DDE answer 0, the bridge ESC nr ^M,
// a program launch 1 "could not be started").
#pragma once

#include <cstdint>
#include <string_view>

#include "client/protocol/gui_routes.h"

namespace veslink::service_commands {

void read_registry_value(const GuiCall& call);    // mrv
void write_registry_value(const GuiCall& call);   // msv
void delete_registry_value(const GuiCall& call);  // mdv
void file_exists(const GuiCall& call);            // mre
void file_transfer(const GuiCall& call);          // mft
void dde_open(const GuiCall& call);               // mei
void dde_execute(const GuiCall& call);            // mex
void dde_poke(const GuiCall& call);               // mep
void dde_request(const GuiCall& call);            // mer
void dde_close(const GuiCall& call);              // met
void dde_last_error(const GuiCall& call);         // mes
void report_viewer(const GuiCall& call);          // mxv

// ESC vx: one digit back, without ^M.
void launch_program(bool wait, std::string_view directory, std::string_view command_line,
                    HostReplies& replies);
// ESC dG: the file's bytes as they are, then ^D ^M; a file that cannot be
// opened is reported to the user and only ^D ^M goes to the host.
void send_local_file(std::string_view file_name, HostReplies& replies);
// ESC mpd: the program's transfer files and DDE conversations end with it.
void program_deleted(std::uint32_t program);

void install(GuiRoutes& routes);

}  // namespace veslink::service_commands
