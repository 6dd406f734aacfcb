// Text decoding (both encodings and the detection) and the delimited field reader with
// record sizes of the program's files.
#include <QByteArray>

#include <array>

#include "core/failures.h"
#include "core/text_codec.h"
#include "input/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int recordSize = std::array{1, 2, 15, 17}[data[0] % 4];
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
  (void)morvik::DecodeCp932(bytes);
  (void)morvik::DecodeUtf8(bytes);
  (void)morvik::EncodeCp932(morvik::DecodeUtf8(bytes));
  morvik::FieldReader reader(morvik::DecodeInputFile(bytes), QStringLiteral("fuzz"));
  std::array<QString, 17> fields;
  try {
    while (!reader.AtEnd()) reader.ReadRecord(std::span(fields.data(), recordSize));
  } catch (const morvik::RunFailure&) {
  }
  return 0;
}
