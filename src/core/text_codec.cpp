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
constexpr UChar kReplacement = 0xFFFD;

// ICU's table is IBM's: where Windows' own table differs, the codec corrects it.

// Single bytes that Windows maps and ICU's table leaves undefined.
struct WindowsOnlyByte {
  char byte;
  UChar codePoint;
};
constexpr WindowsOnlyByte kWindowsOnlyBytes[] = {
    {'\x80', 0x0080}, {'\xA0', 0xF8F0}, {'\xFD', 0xF8F1}, {'\xFE', 0xF8F2}, {'\xFF', 0xF8F3}};

// ICU's table rotates three control codes: byte 1A is U+001C, 1C is U+007F and 7F is
// U+001A there. Windows keeps every byte 00-7F as the same code point.
constexpr char16_t FromIcuControl(char16_t c) {
  switch (c) {
    case 0x001C:
      return 0x001A;
    case 0x007F:
      return 0x001C;
    case 0x001A:
      return 0x007F;
    default:
      return c;
  }
}

// The code point to hand to ICU's table for `c`: the rotated control codes, and the form
// CP932 holds of characters that the JIS mapping gives another code point (names from a
// UTF-8 export may carry either form).
char16_t IcuCodePoint(char16_t c) {
  if (c >= u' ' && c < u'\u007F') return c;  // most of any text: spared the switch
  switch (c) {
    case u'\u001A':
      return u'\u001C';
    case u'\u001C':
      return u'\u007F';
    case u'\u007F':
      return u'\u001A';
    case u'\u301C':
      return u'\uFF5E';  // WAVE DASH -> FULLWIDTH TILDE (0x8160)
    case u'\u2212':
      return u'\uFF0D';  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS (0x817C)
    case u'\u2014':
      return u'\u2015';  // EM DASH -> HORIZONTAL BAR (0x815C)
    case u'\u2016':
      return u'\u2225';  // DOUBLE VERTICAL LINE -> PARALLEL TO (0x8161)
    case u'\u00A2':
      return u'\uFFE0';  // CENT SIGN (0x8191)
    case u'\u00A3':
      return u'\uFFE1';  // POUND SIGN (0x8192)
    case u'\u00AC':
      return u'\uFFE2';  // NOT SIGN (0x81CA)
    case u'\u00A6':
      return u'\uFFE4';  // BROKEN BAR (0xFA55)
    // ICU always takes its private-use fallbacks; Windows has none for this one (0x8782).
    case u'\uF86F':
      return u'?';
    default:
      return c;
  }
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Every undecodable byte sequence becomes U+FFFD, whatever the converter's own
// substitute would be.
void ReadAsFffd(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, error);
}

// As ReadAsFffd, except for the single bytes that only Windows' table maps.
void ReadCp932Undefined(const void*, UConverterToUnicodeArgs* args, const char* bytes,
                        int32_t length, UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  const UChar* written = &kReplacement;
  for (const WindowsOnlyByte& extra : kWindowsOnlyBytes) {
    if (length == 1 && bytes[0] == extra.byte) written = &extra.codePoint;
  }
  ucnv_cbToUWriteUChars(args, written, 1, 0, error);
}

// Everything ICU's table cannot write becomes "?", except the code points of the single
// bytes that only Windows' table maps. ICU's own substitution would drop default-ignorable
// code points (zero-width space, variation selectors): a name must not lose a character
// unseen.
void WriteCp932Unmapped(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                        UChar32 codePoint, UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;
  *error = U_ZERO_ERROR;
  const char* written = "?";
  for (const WindowsOnlyByte& extra : kWindowsOnlyBytes) {
    if (codePoint == extra.codePoint) written = &extra.byte;
  }
  ucnv_cbFromUWriteBytes(args, written, 1, 0, error);
}

Converter OpenConverter(const char* name) {
  UErrorCode error = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &error));
  if (U_FAILURE(error)) throw std::runtime_error(std::string("ICU converter missing: ") + name);
  return converter;
}

Converter OpenCp932() {
  Converter converter = OpenConverter(kCp932);
  UErrorCode error = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ReadCp932Undefined, nullptr, nullptr, nullptr, &error);
  ucnv_setFromUCallBack(converter.get(), WriteCp932Unmapped, nullptr, nullptr, nullptr, &error);
  return converter;
}

Converter OpenUtf8() {
  Converter converter = OpenConverter("UTF-8");
  UErrorCode error = U_ZERO_ERROR;
  ucnv_setToUCallBack(converter.get(), ReadAsFffd, nullptr, nullptr, nullptr, &error);
  return converter;
}

QString Decode(UConverter* converter, const char* data, qsizetype size) {
  if (size == 0) return QString();
  // No encoding used here yields more UTF-16 units than input bytes.
  QString text(size, Qt::Uninitialized);
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length =
      ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()),
                    static_cast<int32_t>(text.size()), data, static_cast<int32_t>(size), &error);
  if (U_FAILURE(error)) throw std::runtime_error("text decoding failed");
  text.truncate(length);
  return text;
}

bool StartsWithBom(const QByteArray& bytes) { return bytes.startsWith(kUtf8Bom); }

QString ToIcuCodePoints(const QString& text) {
  QString result = text;  // shared: copied only when a character changes
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t mapped = IcuCodePoint(text[i].unicode());
    if (mapped != text[i].unicode()) result[i] = QChar(mapped);
  }
  return result;
}

}  // namespace

QString DecodeCp932(const QByteArray& bytes) {
  QString text = Decode(OpenCp932().get(), bytes.constData(), bytes.size());
  // No trail byte is one of these: a text without them as bytes needs no pass.
  if (bytes.contains('\x1A') || bytes.contains('\x1C') || bytes.contains('\x7F')) {
    for (QChar& c : text) c = QChar(FromIcuControl(c.unicode()));
  }
  return text;
}

QByteArray EncodeCp932(const QString& original) {
  if (original.isEmpty()) return QByteArray();
  const QString text = ToIcuCodePoints(original);
  Converter converter = OpenCp932();
  UErrorCode error = U_ZERO_ERROR;
  const auto* source = reinterpret_cast<const UChar*>(text.constData());
  const auto sourceLength = static_cast<int32_t>(text.size());
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);  // at most two bytes a UTF-16 unit
  const int32_t length =
      ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()), source,
                      sourceLength, &error);
  if (U_FAILURE(error)) throw std::runtime_error("text encoding failed");
  bytes.truncate(length);
  return bytes;
}

QString DecodeUtf8(const QByteArray& bytes) {
  const qsizetype skip = StartsWithBom(bytes) ? 3 : 0;
  return Decode(OpenUtf8().get(), bytes.constData() + skip, bytes.size() - skip);
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
