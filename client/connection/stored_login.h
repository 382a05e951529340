// The stored login details under HKEY_CURRENT_USER "Software\VESTRA\Temp":
// written by the New Session command, read and deleted by a client started
// with -autologin, so the new client logs in without asking.
#pragma once

#include <string>

#include "client/settings/client_settings.h"
#include "platform/registry/registry.h"

namespace veslink {

// The login of the running session (the login dialog keeps it).
struct LoginDetails {
  std::string user_name;
  std::string password;
  std::string connection_password;
};

// Scrambles the three secrets and stores them with the host and the kind of
// connection. Shows "Can't create/open temp registry key for login info" and
// returns false when they cannot be stored.
bool save_stored_login(const LoginDetails& login, const std::string& host, int interface_code,
                       vestra::registry::Registry& reg);

// Clears the login defaults and the default host, then fills them from the
// stored details and deletes those. True when all five values were there (the
// new client may log in at once).
bool load_stored_login(ClientSettings& settings, vestra::registry::Registry& reg);

}  // namespace veslink
