// Qt's key events named as the host windows' key table names them. Its own
// file because the host windows, their frames and (later) the field
// controls all translate the same way.
#pragma once

#include <QKeyEvent>

#include "client/screen/key_translation.h"

namespace veslink {

KeyPress key_press_of(const QKeyEvent& event, EditKind edit = EditKind::None);

}  // namespace veslink
