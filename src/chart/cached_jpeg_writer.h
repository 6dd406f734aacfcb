#pragma once
// A JPG writer that codes each distinct MCU of a run once.
//
// The file is byte for byte what Qt's image writer gives at quality 100 (the program's
// JPG files have always been written that way). MCUs that the cache holds are coded from
// it; the others are transformed by libjpeg-turbo, a strip of them at a time, then coded
// here and kept in the cache.

#include <QByteArray>
#include <QImage>

#include "chart/image_origin.h"
#include "chart/mcu_cache.h"

namespace morvik::jpeg {

// Whether the writer takes this image: 24-bit RGB in whole MCUs, with nothing to state
// but its pixels and density (no texts, no colour space).
bool CanEncodeCached(const QImage& image);

// The JPG file of an image that CanEncodeCached takes. Throws RunFailure for another
// image, when another thread is coding with `cache` at the same time, or when the library
// fails. Where `origin` and the last chart's say that both hold the same layer's pixels,
// the MCUs there are taken as the last chart's without comparing their pixels.
QByteArray EncodeJpegCached(const QImage& image, McuCache& cache, const ImageOrigin& origin = {});

}  // namespace morvik::jpeg
