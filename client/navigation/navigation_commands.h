// The picture store's entry for ESC msi: store a picture pushed by the host
// or say whether one is there. Until the store exists no picture is ever
// available: a query answers 0 (the host then sends the picture again) and
// a stored picture is not kept. The picture store fills it in.
#pragma once

#include "client/protocol/gui_routes.h"

namespace veslink::navigation_commands {

void store_picture(const GuiCall& call);  // msi

void install(GuiRoutes& routes);

}  // namespace veslink::navigation_commands
