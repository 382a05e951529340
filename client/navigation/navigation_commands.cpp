// The navigation folder's command entries.
#include "client/navigation/navigation_commands.h"

namespace veslink::navigation_commands {

void store_picture(const GuiCall& call) {
  answer_as_missing(call);
}

void install(GuiRoutes& routes) {
  routes[GuiCommandId::StorePicture] = store_picture;
}

}  // namespace veslink::navigation_commands
