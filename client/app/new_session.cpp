// New Session: installation directory, stored login, launch.
#include "client/app/new_session.h"

#include <unistd.h>

#include <QProcess>
#include <QStringList>

#include "client/settings/client_settings.h"
#include "client/settings/client_texts.h"
#include "platform/messages/message_box.h"

namespace veslink {

using vestra::registry::Hive;

namespace {

void warn(const std::string& caption, const std::string& text) {
  vestra::messages::show_notice(caption, text, vestra::messages::Icon::Warning);
}

bool start_detached(const std::string& program, const std::vector<std::string>& args) {
  QStringList list;
  for (const std::string& a : args)
    list << QString::fromLocal8Bit(a.c_str());
  return QProcess::startDetached(QString::fromLocal8Bit(program.c_str()), list);
}

bool is_executable(const std::string& path) {
  return ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

NewSessionCommand::NewSessionCommand(Launcher launcher)
    : launcher_(launcher ? std::move(launcher) : Launcher(start_detached)) {}

bool NewSessionCommand::enabled(bool connected, int interface_code, std::int64_t now_ms) const {
  if (!connected || !is_tcp_interface(interface_code)) return false;
  return !last_launch_ms_ || now_ms - *last_launch_ms_ >= kBlockMs;
}

std::optional<std::string> NewSessionCommand::installed_program(
    vestra::registry::Registry& reg) const {
  const std::string key_name = std::string("HKEY_LOCAL_MACHINE\\") + kInstallKey;
  if (!reg.key_exists(Hive::LocalMachine, kInstallKey).ok()) {
    warn(kSettingsCaption, "Can't open registry key " + key_name);
    return std::nullopt;
  }
  std::string dir;
  if (!reg.get_string(Hive::LocalMachine, kInstallKey, "DirPath", dir).ok()) {
    warn(kSettingsCaption, "Can't read registry value " + key_name + "\\DirPath");
    return std::nullopt;
  }
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  if (dir.empty()) {
    warn(kSettingsCaption, "Unknown Veslink DirPath value");
    return std::nullopt;
  }
  const std::string program = dir + "/veslink/veslink";
  const std::string upper = dir + "/VESLINK/VESLINK";
  if (!is_executable(program) && is_executable(upper)) return upper;
  return program;
}

bool NewSessionCommand::run(const LoginDetails& login, const std::string& host, int interface_code,
                            vestra::registry::Registry& reg, std::int64_t now_ms) {
  std::optional<std::string> program = installed_program(reg);
  if (!program) return false;
  save_stored_login(login, host, interface_code, reg);
  if (!launcher_(*program, {"-autologin"})) {
    warn("Could not launch new session", "Can't run '" + *program + "'");
    return false;
  }
  last_launch_ms_ = now_ms;
  return true;
}

}  // namespace veslink
