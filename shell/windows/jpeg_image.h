// JPEG pictures for the windows: libjpeg decoding into a QImage.
#pragma once

#include <QImage>
#include <QString>

// Decodes JPEG bytes; a null QImage when they cannot be decoded.
QImage imageFromJpeg(const QByteArray& bytes);

// Reads and decodes a JPEG file or Qt resource (":/..."); a null QImage when
// it cannot be read or decoded.
QImage loadJpeg(const QString& path);
