#include "chart/jpeg_markers.h"

#include <QtMath>

#include <algorithm>
#include <cstdint>

#include "chart/jpeg_zigzag.h"

namespace morvik::jpeg {
namespace {

enum Marker : uint8_t {
  kStartOfImage = 0xD8,
  kEndOfImage = 0xD9,
  kApplication0 = 0xE0,
  kQuantizationTable = 0xDB,
  kBaselineFrame = 0xC0,
  kHuffmanTable = 0xC4,
  kStartOfScan = 0xDA,
};

void PutByte(QByteArray& out, int value) { out.append(static_cast<char>(value & 0xFF)); }

void PutWord(QByteArray& out, int value) {
  PutByte(out, value >> 8);
  PutByte(out, value);
}

void PutMarker(QByteArray& out, Marker marker) {
  PutByte(out, 0xFF);
  PutByte(out, marker);
}

// A marker with its segment length, which counts itself but not the marker.
void PutSegmentStart(QByteArray& out, Marker marker, int payloadBytes) {
  PutMarker(out, marker);
  PutWord(out, payloadBytes + 2);
}

void PutJfifHeader(QByteArray& out, Density density) {
  PutSegmentStart(out, kApplication0, 14);
  out.append("JFIF", 5);  // with its terminating zero
  PutByte(out, 1);        // version 1.01
  PutByte(out, 1);
  PutByte(out, density.unit);
  PutWord(out, density.x);
  PutWord(out, density.y);
  PutByte(out, 0);  // no thumbnail
  PutByte(out, 0);
}

void PutQuantizationTable(QByteArray& out, int id, const std::array<uint16_t, 64>& steps) {
  const bool wide = *std::max_element(steps.begin(), steps.end()) > 255;
  PutSegmentStart(out, kQuantizationTable, 1 + 64 * (wide ? 2 : 1));
  PutByte(out, (wide ? 0x10 : 0) | id);
  for (int index : kZigzagOrder) {
    if (wide) {
      PutWord(out, steps[index]);
    } else {
      PutByte(out, steps[index]);
    }
  }
}

void PutFrameHeader(QByteArray& out, int width, int height) {
  constexpr int kComponents = 3;
  PutSegmentStart(out, kBaselineFrame, 6 + 3 * kComponents);
  PutByte(out, 8);  // bits a sample
  PutWord(out, height);
  PutWord(out, width);
  PutByte(out, kComponents);
  // Id, sampling (horizontal, vertical) and quantization table of Y, Cb, Cr.
  const int components[kComponents][3] = {{1, 0x22, 0}, {2, 0x11, 1}, {3, 0x11, 1}};
  for (const auto& c : components) {
    for (int value : c) PutByte(out, value);
  }
}

void PutHuffmanTable(QByteArray& out, int tableClass, int id, const HuffmanSpec& huffman) {
  PutSegmentStart(out, kHuffmanTable, 1 + 16 + static_cast<int>(huffman.symbols.size()));
  PutByte(out, tableClass << 4 | id);
  for (uint8_t count : huffman.counts) PutByte(out, count);
  for (uint8_t symbol : huffman.symbols) PutByte(out, symbol);
}

void PutScanHeader(QByteArray& out) {
  PutSegmentStart(out, kStartOfScan, 10);
  PutByte(out, 3);
  // Id and Huffman tables (DC, AC) of Y, Cb, Cr.
  const int components[3][2] = {{1, 0x00}, {2, 0x11}, {3, 0x11}};
  for (const auto& c : components) {
    for (int value : c) PutByte(out, value);
  }
  PutByte(out, 0);   // first coefficient
  PutByte(out, 63);  // last coefficient
  PutByte(out, 0);   // no successive approximation
}

}  // namespace

Density DensityOf(int dotsPerMeterX, int dotsPerMeterY) {
  const double inchX = dotsPerMeterX * 2.54 / 100.;
  const double inchY = dotsPerMeterY * 2.54 / 100.;
  const double cmX = dotsPerMeterX / 100.;
  const double cmY = dotsPerMeterY / 100.;
  // Kept to the image writer's own expressions: the comparison must round the same way.
  const double offInch = qAbs(inchX - qRound(inchX)) + qAbs(inchY - qRound(inchY));
  const double offCm = (qAbs(cmX - qRound(cmX)) + qAbs(cmY - qRound(cmY))) * 2.54;
  if (offInch < offCm) {
    return {1, static_cast<uint16_t>(qRound(inchX)), static_cast<uint16_t>(qRound(inchY))};
  }
  // Widened, so that a huge density wraps to 16 bits instead of overflowing.
  return {2, static_cast<uint16_t>((int64_t{dotsPerMeterX} + 50) / 100),
          static_cast<uint16_t>((int64_t{dotsPerMeterY} + 50) / 100)};
}

void AppendFileHeader(QByteArray& out, int width, int height, Density density,
                      const CodingTables& tables) {
  PutMarker(out, kStartOfImage);
  PutJfifHeader(out, density);
  PutQuantizationTable(out, 0, tables.quantization[0]);
  PutQuantizationTable(out, 1, tables.quantization[1]);
  PutFrameHeader(out, width, height);
  PutHuffmanTable(out, 0, 0, tables.lumaDc);
  PutHuffmanTable(out, 1, 0, tables.lumaAc);
  PutHuffmanTable(out, 0, 1, tables.chromaDc);
  PutHuffmanTable(out, 1, 1, tables.chromaAc);
  PutScanHeader(out);
}

void AppendFileEnd(QByteArray& out) { PutMarker(out, kEndOfImage); }

}  // namespace morvik::jpeg
