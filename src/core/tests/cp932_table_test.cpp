// The CP932 codec against Windows' table, every byte sequence and every code point. The
// table and the program's deliberate differences from it are in testing/cp932_reference.h.
#include <gtest/gtest.h>

#include <QList>

#include <string>
#include <vector>

#include "core/text_codec.h"
#include "testing/cp932_reference.h"

namespace morvik {
namespace {

using testing::Cp932Reference;

constexpr char16_t kFffd = 0xFFFD;

QString CodePoints(const QString& text) {
  QStringList names;
  for (const char32_t c : text.toUcs4())
    names << QStringLiteral("U+%1").arg(c, 4, 16, QChar(u'0')).toUpper();
  return names.join(u' ');
}

// Gathers what differs and reports the count and the first few, so that one run shows
// the whole pattern.
class Mismatches {
 public:
  void Add(const QString& what) {
    if (++count_ <= kShown) listed_ += what + u'\n';
  }
  void ExpectNone() const { EXPECT_EQ(count_, 0) << listed_.toStdString(); }

 private:
  static constexpr int kShown = 40;
  int count_ = 0;
  QString listed_;
};

void CheckDecode(const QByteArray& bytes, const QString& expected, Mismatches& mismatches) {
  const QString read = DecodeCp932(bytes);
  if (read != expected) {
    mismatches.Add(
        QStringLiteral("%1: read %2, expected %3")
            .arg(QString::fromLatin1(bytes.toHex(' ')), CodePoints(read), CodePoints(expected)));
  }
}

QString TableCharacter(const QByteArray& bytes) {
  const auto decoded = Cp932Reference::Get().Decoded(bytes);
  return QString(QChar(decoded.value_or(kFffd)));
}

// A byte that can follow a lead byte as the second byte of a character.
bool IsTrailByte(int byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

TEST(Cp932Table, ReadsEverySingleByteAsWindows) {
  Mismatches mismatches;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    if (Cp932Reference::IsLeadByte(byte)) continue;
    // The next byte stays a character of its own, also where it could be a trail byte.
    const QByteArray bytes = QByteArray(1, static_cast<char>(byte)) + "A";
    CheckDecode(bytes, TableCharacter(bytes.left(1)) + u'A', mismatches);
  }
  mismatches.ExpectNone();
}

// A lead byte with a trail byte is the table's character, or U+FFFD where the table has
// none. A lead byte before a byte that cannot follow it is U+FFFD, and that byte is read
// on its own: an undefined lead byte never swallows a comma or a line end.
TEST(Cp932Table, ReadsEveryLeadByteWithEveryNextByteAsWindows) {
  Mismatches mismatches;
  for (int lead = 0; lead < 256; ++lead) {
    if (!Cp932Reference::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int next = 0; next < 256; ++next) {
      const QByteArray bytes = QByteArray(1, static_cast<char>(lead)) + static_cast<char>(next);
      const QString expected =
          IsTrailByte(next) ? TableCharacter(bytes) : QChar(kFffd) + DecodeCp932(bytes.mid(1));
      CheckDecode(bytes, expected, mismatches);
    }
  }
  mismatches.ExpectNone();
}

// Every code point but U+000A, each followed by a line end, which no CP932 character's
// bytes contain: the written text splits back into one piece per code point.
void CheckEncodePlane(char32_t plane, Mismatches& mismatches) {
  std::vector<char32_t> codePoints;
  QString text;
  for (char32_t c = plane << 16; c <= (plane << 16 | 0xFFFF); ++c) {
    if (QChar::isSurrogate(c) || c == U'\n') continue;
    codePoints.push_back(c);
    testing::AppendCodePoint(text, c);
    text += u'\n';
  }
  const QList<QByteArray> pieces = EncodeCp932(text).split('\n');
  ASSERT_EQ(pieces.size(), static_cast<qsizetype>(codePoints.size()) + 1);
  for (std::size_t i = 0; i < codePoints.size(); ++i) {
    const QByteArray expected = Cp932Reference::Get().ProgramWrites(codePoints[i]);
    const QByteArray& written = pieces[static_cast<qsizetype>(i)];
    if (written != expected) {
      mismatches.Add(QStringLiteral("U+%1: wrote \"%2\", expected \"%3\"")
                         .arg(QStringLiteral("%1").arg(codePoints[i], 4, 16, QChar(u'0')).toUpper())
                         .arg(QString::fromLatin1(written.toHex(' ')),
                              QString::fromLatin1(expected.toHex(' '))));
    }
  }
}

TEST(Cp932Table, WritesEveryCodePointAsWindowsPrograms) {
  Mismatches mismatches;
  for (char32_t plane = 0; plane <= 0x10; ++plane) CheckEncodePlane(plane, mismatches);
  EXPECT_EQ(EncodeCp932(QStringLiteral("\n")), QByteArray("\n"));
  mismatches.ExpectNone();
}

}  // namespace
}  // namespace morvik
