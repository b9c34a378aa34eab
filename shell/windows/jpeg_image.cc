// imageFromJpeg / loadJpeg: the Qt side of the JPEG decoder.
#include "jpeg_image.h"

#include "jpeg_decode.h"

#include <QFile>
#include <cstring>

QImage imageFromJpeg(const QByteArray& bytes) {
  RgbPicture picture;
  if (!decodeJpeg(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                  picture))
    return QImage();
  QImage image(picture.width, picture.height, QImage::Format_RGB888);
  if (image.isNull()) return QImage();
  const std::size_t stride = static_cast<std::size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(image.scanLine(y), picture.rgb.data() + stride * y, stride);
  return image;
}

QImage loadJpeg(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QImage();
  return imageFromJpeg(file.readAll());
}
