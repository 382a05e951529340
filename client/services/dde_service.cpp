// Registration of the DDE service's bus name.
#include "client/services/dde_service.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace veslink {

std::string dde_bus_name(const std::string& service) {
  return "org.vestra.dde." + service;
}

bool register_dde_service(const std::string& service, std::string& error) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    error = "no D-Bus session bus: " + bus.lastError().message().toStdString();
    return false;
  }
  QDBusConnectionInterface* iface = bus.interface();
  auto reply = iface->registerService(QString::fromStdString(dde_bus_name(service)),
                                      QDBusConnectionInterface::QueueService,
                                      QDBusConnectionInterface::AllowReplacement);
  if (!reply.isValid()) {
    error = reply.error().message().toStdString();
    return false;
  }
  return true;
}

}  // namespace veslink
