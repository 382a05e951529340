// The client's DDE service for local programs, on the D-Bus session bus: a
// DDE service name maps to the bus name "org.vestra.dde.<service>".
#pragma once

#include <string>

namespace veslink {

std::string dde_bus_name(const std::string& service);

// Registers the service on the session bus. Several clients may run at once
// (New Session): later ones queue behind the first, as DDE lets any server of
// a name answer. False, with the reason in `error`, when there is no session
// bus or the name cannot be had; the client runs on without the service.
bool register_dde_service(const std::string& service, std::string& error);

}  // namespace veslink
