#include "core/text_codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <QVarLengthArray>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>

#include "core/platform/prefaulted_memory.h"

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

// The code point to hand to ICU's table for `c`, a character beyond ASCII: the form CP932
// holds of characters that the JIS mapping gives another code point (names from a UTF-8
// export may carry either form).
char16_t IcuCodePoint(char16_t c) {
  switch (c) {
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

// Room for `size` UTF-16 units, written next from end to end. A managers' stamp file
// decodes to some 20 MB, whose first touches on 4 KB pages cost some 3 ms of CPU time.
QString UninitializedText(qsizetype size) {
  QString text(size, Qt::Uninitialized);
  platform::OfferLargePages(text.data(), static_cast<std::size_t>(size) * sizeof(QChar));
  return text;
}

QString Decode(UConverter* converter, const char* data, qsizetype size) {
  if (size == 0) return QString();
  // No encoding used here yields more UTF-16 units than input bytes.
  QString text = UninitializedText(size);
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length =
      ucnv_toUChars(converter, reinterpret_cast<UChar*>(text.data()),
                    static_cast<int32_t>(text.size()), data, static_cast<int32_t>(size), &error);
  if (U_FAILURE(error)) throw std::runtime_error("text decoding failed");
  text.truncate(length);
  return text;
}

bool StartsWithBom(const QByteArray& bytes) { return bytes.startsWith(kUtf8Bom); }

bool IsAscii(char16_t c) { return c < 0x80; }

// Writes the CP932 bytes of `run`, characters beyond ASCII only, to `out` (room for two
// bytes a UTF-16 unit) through ICU's table; returns the number of bytes written.
qsizetype EncodeWithIcu(UConverter* converter, QStringView run, char* out) {
  QVarLengthArray<char16_t, 64> mapped(run.size());
  std::transform(run.utf16(), run.utf16() + run.size(), mapped.begin(), IcuCodePoint);
  UErrorCode error = U_ZERO_ERROR;
  const int32_t length = ucnv_fromUChars(converter, out, static_cast<int32_t>(run.size() * 2),
                                         reinterpret_cast<const UChar*>(mapped.data()),
                                         static_cast<int32_t>(mapped.size()), &error);
  // A run that fills its room exactly only warns that ICU's closing NUL found no place.
  if (U_FAILURE(error)) throw std::runtime_error("text encoding failed");
  return length;
}

// The UTF-16 text of bytes that are valid UTF-8, or nothing when they are not. ASCII, most
// of any export, is copied across directly; ICU's UTF-8 step reads and checks the rest.
std::optional<QString> DecodeValidUtf8(const char* bytes, qsizetype size) {
  if (size == 0) return QString();
  QString text = UninitializedText(size);  // never more UTF-16 units than bytes
  auto* out = reinterpret_cast<char16_t*>(text.data());
  const auto* data = reinterpret_cast<const uint8_t*>(bytes);
  qsizetype written = 0;
  for (qsizetype i = 0; i < size;) {
    if (data[i] < 0x80) {
      out[written++] = data[i++];
      continue;
    }
    UChar32 c = 0;
    U8_NEXT(data, i, size, c);
    if (c < 0) return std::nullopt;
    U16_APPEND_UNSAFE(out, written, c);
  }
  text.truncate(written);
  return text;
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

// Every byte 00-7F is its own code point in CP932, and most of any text the program writes
// is ASCII: that is copied across, and only the runs of other characters go through ICU's
// table. The table keeps no state and maps one character at a time, so a run converts as
// it would inside the whole text.
QByteArray EncodeCp932(const QString& text) {
  if (text.isEmpty()) return QByteArray();
  QByteArray bytes(text.size() * 2, Qt::Uninitialized);  // at most two bytes a UTF-16 unit
  char* const begin = bytes.data();
  char* out = begin;
  Converter converter;  // opened at the first character beyond ASCII
  const auto* const units = reinterpret_cast<const char16_t*>(text.constData());
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size;) {
    if (IsAscii(units[i])) {
      *out++ = static_cast<char>(units[i++]);
      continue;
    }
    const qsizetype start = i;
    while (i < size && !IsAscii(units[i])) ++i;
    if (!converter) converter = OpenCp932();
    out += EncodeWithIcu(converter.get(), QStringView(units + start, i - start), out);
  }
  bytes.truncate(out - begin);
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

// As LooksLikeUtf8 decides, in one pass: valid UTF-8 reads the same through any decoder,
// and plain ASCII the same in either encoding, so only the other files need ICU's
// converters. After a byte-order mark, invalid UTF-8 is still read as UTF-8.
QString DecodeInputFile(const QByteArray& bytes) {
  const bool bom = StartsWithBom(bytes);
  const qsizetype skip = bom ? 3 : 0;
  if (std::optional<QString> text =
          DecodeValidUtf8(bytes.constData() + skip, bytes.size() - skip)) {
    return *std::move(text);
  }
  return bom ? DecodeUtf8(bytes) : DecodeCp932(bytes);
}

}  // namespace morvik
