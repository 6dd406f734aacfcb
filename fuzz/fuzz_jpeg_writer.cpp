// Pictures made from arbitrary bytes, encoded by the cached JPG writer and by Qt's image
// writer: the files must be the same bytes. One small cache serves every input, so that
// inputs find, keep and drop each other's MCUs.
#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "chart/cached_jpeg_writer.h"
#include "chart/mcu_cache.h"
#include "fuzz_support.h"

namespace {

QByteArray ImageWriterBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpg");
  writer.setQuality(100);
  if (!writer.write(image)) std::abort();
  return bytes;
}

// Bytes 0 and 1 give the size in MCUs, 2 and 3 the density, 4 how far apart the MCUs
// read the rest (0: every MCU the same), which is the pixels, read round and round.
QImage PictureOf(const uint8_t* data, size_t size) {
  const int width = 16 * (1 + data[0] % 12);
  const int height = 16 * (1 + data[1] % 12);
  QImage image(width, height, QImage::Format_RGB888);
  image.setDotsPerMeterX(static_cast<int8_t>(data[2]) * 997 + 3780);
  image.setDotsPerMeterY(static_cast<int8_t>(data[3]) * 389 + 3780);
  const size_t step = data[4];
  const uint8_t* pixels = data + 5;
  const size_t count = size - 5;
  for (int y = 0; y < height; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < width * 3; ++x) {
      const size_t mcu = static_cast<size_t>(y / 16) * (width / 16) + x / 48;
      const size_t within = static_cast<size_t>(y % 16) * 48 + x % 48;
      row[x] = count == 0 ? 0 : pixels[(mcu * step + within) % count];
    }
  }
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvik::fuzz::EnsureApplication();
  if (size < 5) return 0;
  static morvik::jpeg::McuCache cache(256 << 10);
  const QImage image = PictureOf(data, size);
  if (morvik::jpeg::EncodeJpegCached(image, cache) != ImageWriterBytes(image)) {
    std::fputs("the cached writer and the image writer disagree\n", stderr);
    std::abort();
  }
  return 0;
}
