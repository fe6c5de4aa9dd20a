#pragma once

#include <QImage>
#include <QString>

// Decodes a JPEG file with libjpeg. A missing, truncated or corrupt file
// gives a null image; decoding errors never end the program.
QImage Load_Jpeg(const QString& path);
