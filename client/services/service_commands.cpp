// The local services' command entries.
#include "client/services/service_commands.h"

#include <sys/stat.h>
#include <cstdio>
#include <string>

#include "client/protocol/replies.h"
#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"

namespace veslink::service_commands {

namespace {
// Host file names may use either slash; ours is '/'.
std::string local_path(std::string_view name) {
  std::string path(name);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}
}  // namespace

void read_registry_value(const GuiCall& call) {
  answer_as_missing(call);
}
void write_registry_value(const GuiCall& call) {
  answer_as_missing(call);
}
void delete_registry_value(const GuiCall& call) {
  answer_as_missing(call);
}
void file_transfer(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_open(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_execute(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_poke(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_request(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_close(const GuiCall& call) {
  answer_as_missing(call);
}
void dde_last_error(const GuiCall& call) {
  answer_as_missing(call);
}
void report_viewer(const GuiCall& call) {
  answer_as_missing(call);
}

void file_exists(const GuiCall& call) {
  struct stat st {};
  const bool exists =
      call.string && !call.string->empty() && ::stat(local_path(*call.string).c_str(), &st) == 0;
  call.replies.number_result(exists ? 1 : 0);
}

void launch_program(bool, std::string_view, std::string_view, HostReplies& replies) {
  replies.launch_result(1);
}

void send_local_file(std::string_view file_name, HostReplies& replies) {
  const std::string path = local_path(file_name);
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    char block[512];
    std::size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0)
      replies.send(std::string_view(block, n));
    std::fclose(f);
  } else {
    vestra::messages::show_notice(kClientCaption, "Could not open '" + path + "'",
                                  vestra::messages::Icon::Warning);
  }
  replies.send("\x04\r");
}

void program_deleted(std::uint32_t) {}

void install(GuiRoutes& routes) {
  using G = GuiCommandId;
  routes[G::ReadRegistryValue] = read_registry_value;
  routes[G::WriteRegistryValue] = write_registry_value;
  routes[G::DeleteRegistryValue] = delete_registry_value;
  routes[G::FileExists] = file_exists;
  routes[G::FileTransfer] = file_transfer;
  routes[G::DdeOpen] = dde_open;
  routes[G::DdeExecute] = dde_execute;
  routes[G::DdePoke] = dde_poke;
  routes[G::DdeRequest] = dde_request;
  routes[G::DdeClose] = dde_close;
  routes[G::DdeLastError] = dde_last_error;
  routes[G::ReportViewer] = report_viewer;
  routes.local.launch_program = launch_program;
  routes.local.send_local_file = send_local_file;
  routes.local.program_deleted = program_deleted;
}

}  // namespace veslink::service_commands
