#pragma once
// The markers around a JPG file's coded data, byte for byte as the library writes them
// with the program's settings: SOI, the JFIF header, one DQT a table, SOF0 for Y 2 x 2
// and Cb, Cr 1 x 1, one DHT a table (luma DC, luma AC, chroma DC, chroma AC), SOS; EOI.

#include <QByteArray>

#include "chart/jpeg_library.h"

namespace morvik::jpeg {

// The density Qt's image writer states for an image of these dots per metre: per inch
// when that is nearer to whole numbers than per centimetre, else per centimetre.
Density DensityOf(int dotsPerMeterX, int dotsPerMeterY);

// Everything before the coded data of a width x height image (at most 65,535 each).
void AppendFileHeader(QByteArray& out, int width, int height, Density density,
                      const CodingTables& tables);

void AppendFileEnd(QByteArray& out);

}  // namespace morvik::jpeg
