// Loading pictures from contents items.
#include "client/screen/picture_loader.h"

#include <QImageReader>

namespace veslink {

QImage load_picture(const ContentsItem& item) {
  switch (item.kind) {
    case ItemKind::File: {
      QString path = QString::fromLocal8Bit(item.value.c_str());
      path.replace(QLatin1Char('\\'), QLatin1Char('/'));
      QImageReader reader(path);
      reader.setAutoTransform(true);
      return reader.read();
    }
    case ItemKind::Text:
    case ItemKind::Data:
      return QImage::fromData(reinterpret_cast<const uchar*>(item.value.data()),
                              static_cast<int>(item.value.size()));
    case ItemKind::None:
      break;
  }
  return {};
}

}  // namespace veslink
