// ClientSettings and the registry: reading "Software\VESTRA\Settings" at
// start-up, and the writers each dialog calls when it is confirmed.
#pragma once

#include <string_view>

#include "client/settings/client_settings.h"
#include "platform/registry/registry.h"

namespace veslink {

using vestra::registry::Registry;

// Applies every REG_SZ value of the settings key (a missing key means all
// defaults), then checks the certificate and key files of telnet over SSL.
void read_settings(ClientSettings& settings, Registry& reg);

// Each writer writes only its own values. When the key cannot be opened or a
// value cannot be written it shows the writer's message and returns false; the
// settings in memory keep their new values either way.
bool write_comm_settings(const ClientSettings& settings, Registry& reg);     // Communications
bool write_general_settings(const ClientSettings& settings, Registry& reg);  // General
bool write_font_setting(const ClientSettings& settings, bool fixed_font, Registry& reg);
bool write_macro(const KeyMacro& macro, Registry& reg);
bool delete_macro(int key, int modifiers, Registry& reg);
bool write_slave_settings(const ClientSettings& settings, Registry& reg);
bool write_def_username(const ClientSettings& settings, Registry& reg);

// Moves `host` to the front of the host list and writes "host_list"; writes
// nothing when the host already leads the list.
bool add_to_host_list(ClientSettings& settings, std::string_view host, Registry& reg);

}  // namespace veslink
