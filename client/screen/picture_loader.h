// Pictures of picture fields and push buttons from their contents items:
// a file by its name ("f,", with `\` or `/`), or the data of a "t," or "e,"
// item decoded in memory. The minimal stand-in for the picture store, which
// will keep pictures by name with use counts; a picture that cannot be read
// is an empty image and the caller shows nothing.
#pragma once

#include <QImage>

#include "client/screen/contents_items.h"

namespace veslink {

QImage load_picture(const ContentsItem& item);

}  // namespace veslink
