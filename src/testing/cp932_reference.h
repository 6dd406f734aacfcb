#pragma once
// Windows' code page 932 as an independent table: data/cp932_reference.bin, made once by
// data/make_cp932_reference.py from Python's `cp932` codec (Microsoft's table). The codec
// tests hold the program to it, byte sequence by byte sequence and code point by code point.

#include <QByteArray>
#include <QString>

#include <optional>
#include <unordered_map>
#include <vector>

namespace morvik::testing {

// One byte sequence of the table and the code point it decodes to.
struct Cp932Character {
  QByteArray bytes;
  char16_t codePoint;
};

class Cp932Reference {
 public:
  // The table, loaded on first use. Throws std::runtime_error when the file is missing or
  // malformed.
  static const Cp932Reference& Get();

  static bool IsLeadByte(unsigned char byte);

  // What one byte, or a lead byte and a trail byte, decode to; nothing for an undefined
  // sequence or a lone lead byte.
  std::optional<char16_t> Decoded(const QByteArray& bytes) const;

  // Every byte sequence that decodes to a character, in byte order.
  const std::vector<Cp932Character>& characters() const { return characters_; }

  // How the table writes `codePoint`; nothing when CP932 cannot hold it.
  std::optional<QByteArray> Written(char32_t codePoint) const;

  // The bytes the program writes for `codePoint`: the table's, "?" where the table has
  // none, apart from the deliberate differences (see the definition).
  QByteArray ProgramWrites(char32_t codePoint) const;

 private:
  explicit Cp932Reference(const QByteArray& file);

  std::vector<char16_t> singles_;  // by byte; kNone for none
  std::vector<char16_t> pairs_;    // by lead byte's index, then trail byte - 0x40
  std::vector<Cp932Character> characters_;
  std::unordered_map<char32_t, QByteArray> written_;
  std::unordered_map<char32_t, QByteArray> ibmExtensionForm_;  // lead byte FA-FC
};

// Appends `codePoint` to `text` as UTF-16. (QString::fromUcs4 drops a U+FEFF at the start
// of what it converts, taking it for a byte-order mark.)
void AppendCodePoint(QString& text, char32_t codePoint);

}  // namespace morvik::testing
