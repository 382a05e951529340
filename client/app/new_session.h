// The New Session command (32866): stores the current login and starts a
// second client with "-autologin", which logs in with it at once.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "client/connection/stored_login.h"
#include "platform/registry/registry.h"

namespace veslink {

class NewSessionCommand {
 public:
  static constexpr std::int64_t kBlockMs = 10000;

  // Starts a program detached; false when it could not be started.
  using Launcher = std::function<bool(const std::string&, const std::vector<std::string>&)>;
  explicit NewSessionCommand(Launcher launcher = {});

  // Only while connected over TCP, and not within 10 s of the last launch.
  bool enabled(bool connected, int interface_code, std::int64_t now_ms) const;

  // The installed client: "<DirPath>/veslink/veslink" (or its upper-case
  // spelling when only that exists). Shows the registry failure boxes.
  std::optional<std::string> installed_program(vestra::registry::Registry& reg) const;

  // Runs the command; true when the new client was started.
  bool run(const LoginDetails& login, const std::string& host, int interface_code,
           vestra::registry::Registry& reg, std::int64_t now_ms);

  std::optional<std::int64_t> last_launch_ms() const { return last_launch_ms_; }

 private:
  Launcher launcher_;
  std::optional<std::int64_t> last_launch_ms_;
};

}  // namespace veslink
