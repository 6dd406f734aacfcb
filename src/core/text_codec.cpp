#include "core/text_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf8.h>

#include <memory>
#include <stdexcept>

namespace morvik {
namespace {

constexpr char kCp932[] = "windows-31j";
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Every undecodable byte sequence becomes U+FFFD, whatever the converter's own
// substitute would be (windows-31j would give U+001A for some bytes).
void ReplaceWithFffd(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                     UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  static const UChar kReplacement = 0xFFFD;
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
}

Converter OpenConverter(const char* name) {
  UErrorCode error = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &error));
  if (U_FAILURE(error)) throw std::runtime_error(std::string("ICU converter missing: ") + name);
  ucnv_setToUCallBack(converter.get(), ReplaceWithFffd, nullptr, nullptr, nullptr, &error);
  ucnv_setSubstChars(converter.get(), "?", 1, &error);
  return converter;
}

QString Decode(const char* converterName, const char* data, qsizetype size) {
  if (size == 0) return QString();
  Converter converter = OpenConverter(converterName);
  // No encoding used here yields more UTF-16 units than input bytes.
  QString text(size, Qt::Uninitialized);
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length =
      ucnv_toUChars(converter.get(), reinterpret_cast<UChar*>(text.data()),
                    static_cast<int32_t>(text.size()), data, static_cast<int32_t>(size), &error);
  if (U_FAILURE(error)) throw std::runtime_error("text decoding failed");
  text.truncate(length);
  return text;
}

bool StartsWithBom(const QByteArray& bytes) { return bytes.startsWith(kUtf8Bom); }

// Characters that CP932 holds under another code point than the JIS mapping gives them
// (names from a UTF-8 export may carry either form): each is written as its CP932 form.
char16_t Cp932CodePoint(char16_t c) {
  switch (c) {
    case u'\u301C': return u'\uFF5E';  // WAVE DASH -> FULLWIDTH TILDE (0x8160)
    case u'\u2212': return u'\uFF0D';  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (0x817C)
    case u'\u2014': return u'\u2015';  // EM DASH -> HORIZONTAL BAR (0x815C)
    case u'\u2016': return u'\u2225';  // DOUBLE VERTICAL LINE -> PARALLEL TO (0x8161)
    case u'\u00A2': return u'\uFFE0';  // CENT SIGN (0x8191)
    case u'\u00A3': return u'\uFFE1';  // POUND SIGN (0x8192)
    case u'\u00AC': return u'\uFFE2';  // NOT SIGN (0x81CA)
    case u'\u00A6': return u'\uFFE4';  // BROKEN BAR (0xFA55)
    default: return c;
  }
}

QString ToCp932CodePoints(const QString& text) {
  QString result = text;  // shared: copied only when a character changes
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t mapped = Cp932CodePoint(text[i].unicode());
    if (mapped != text[i].unicode()) result[i] = QChar(mapped);
  }
  return result;
}

}  // namespace

QString DecodeCp932(const QByteArray& bytes) { return Decode(kCp932, bytes.constData(), bytes.size()); }

QByteArray EncodeCp932(const QString& original) {
  if (original.isEmpty()) return QByteArray();
  const QString text = ToCp932CodePoints(original);
  Converter converter = OpenConverter(kCp932);
  UErrorCode error = U_ZERO_ERROR;
  const auto* source = reinterpret_cast<const UChar*>(text.constData());
  const auto sourceLength = static_cast<int32_t>(text.size());
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);  // at most two bytes a UTF-16 unit
  const int32_t length = ucnv_fromUChars(converter.get(), bytes.data(),
                                         static_cast<int32_t>(bytes.size()), source,
                                         sourceLength, &error);
  if (U_FAILURE(error)) throw std::runtime_error("text encoding failed");
  bytes.truncate(length);
  return bytes;
}

QString DecodeUtf8(const QByteArray& bytes) {
  const qsizetype skip = StartsWithBom(bytes) ? 3 : 0;
  return Decode("UTF-8", bytes.constData() + skip, bytes.size() - skip);
}

bool LooksLikeUtf8(const QByteArray& bytes) {
  if (StartsWithBom(bytes)) return true;
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
  const auto length = static_cast<int32_t>(bytes.size());
  bool multiByte = false;
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c = 0;
    U8_NEXT(data, i, length, c);
    if (c < 0) return false;
    if (i - start > 1) multiByte = true;
  }
  return multiByte;
}

QString DecodeInputFile(const QByteArray& bytes) {
  return LooksLikeUtf8(bytes) ? DecodeUtf8(bytes) : DecodeCp932(bytes);
}

}  // namespace morvik
