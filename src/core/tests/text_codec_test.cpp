#include "core/text_codec.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace morvik {
namespace {

QByteArray Bytes(std::initializer_list<unsigned char> values) {
  QByteArray bytes;
  for (unsigned char value : values) bytes.append(static_cast<char>(value));
  return bytes;
}

struct Cp932Case {
  const char* name;
  QByteArray bytes;
  QString text;
};

class Cp932Mapping : public ::testing::TestWithParam<Cp932Case> {};

// Windows' own table, both ways.
TEST_P(Cp932Mapping, DecodesAndEncodes) {
  const Cp932Case& c = GetParam();
  EXPECT_EQ(DecodeCp932(c.bytes), c.text);
  EXPECT_EQ(EncodeCp932(c.text), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    All, Cp932Mapping,
    ::testing::Values(Cp932Case{"WaveDash", Bytes({0x81, 0x60}), QString(QChar(0xFF5E))},
                      Cp932Case{"FullwidthMinus", Bytes({0x81, 0x7C}), QString(QChar(0xFF0D))},
                      Cp932Case{"ParallelTo", Bytes({0x81, 0x61}), QString(QChar(0x2225))},
                      Cp932Case{"Backslash", Bytes({0x5C}), QStringLiteral("\\")},
                      Cp932Case{"Tilde", Bytes({0x7E}), QStringLiteral("~")},
                      Cp932Case{"HalfwidthKatakana", Bytes({0xB1}), QString(QChar(0xFF71))},
                      Cp932Case{"NecCircledOne", Bytes({0x87, 0x40}), QString(QChar(0x2460))},
                      Cp932Case{"Kanji", Bytes({0x8E, 0xD0, 0x88, 0xF5}), QStringLiteral("社員")},
                      Cp932Case{"IdeographicSpace", Bytes({0x81, 0x40}), QString(QChar(0x3000))},
                      Cp932Case{"Empty", QByteArray(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodec, Cp932RoundTripsItsPrintableCharacters) {
  QString all;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead <= 0xDF) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const QString text =
          DecodeCp932(Bytes({static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)}));
      if (text.size() == 1 && text[0] != QChar(0xFFFD)) all += text;
    }
  }
  ASSERT_GT(all.size(), 7000);
  EXPECT_EQ(DecodeCp932(EncodeCp932(all)), all);
}

struct InvalidCase {
  const char* name;
  QByteArray bytes;
  QString text;
};

class InvalidBytes : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidBytes, DecodeToReplacementCharacters) {
  EXPECT_EQ(DecodeCp932(GetParam().bytes), GetParam().text);
}

const QString kFffd(QChar(0xFFFD));

INSTANTIATE_TEST_SUITE_P(
    All, InvalidBytes,
    ::testing::Values(InvalidCase{"LeadByteBeforeALineEnd", Bytes({'a', 0x81, '\n'}),
                                  "a" + kFffd + "\n"},
                      InvalidCase{"UnassignedPair", Bytes({0x85, 0x40, 'x'}), kFffd + "x"},
                      InvalidCase{"LeadByteAtTheEnd", Bytes({'a', 0x81}), "a" + kFffd}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodec, Utf8DropsTheByteOrderMarkAndReplacesInvalidBytes) {
  EXPECT_EQ(DecodeUtf8(QByteArray("\xEF\xBB\xBF\xE7\xA4\xBE")), QStringLiteral("社"));
  EXPECT_EQ(DecodeUtf8(QByteArray("\xE7\xA4\xBE")), QStringLiteral("社"));
  EXPECT_EQ(DecodeUtf8(QByteArray("a\xFF"
                                  "b")),
            "a" + kFffd + "b");
  EXPECT_EQ(DecodeUtf8(QByteArray("\xF0\x9F\x98\x80")), QString::fromUtf8("\xF0\x9F\x98\x80"));
}

TEST(TextCodec, UnencodableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(EncodeCp932(QStringLiteral("a\u00E9b")), QByteArray("a?b"));
  EXPECT_EQ(EncodeCp932(QString::fromUtf8("\xF0\x9F\x98\x80")), QByteArray("?"));
  EXPECT_EQ(EncodeCp932(QChar(0xD800) + QStringLiteral("x")), QByteArray("?x"));  // lone surrogate
}

TEST(TextCodec, JisVariantsAreWrittenInTheirCp932Form) {
  const struct {
    char16_t character;
    QByteArray bytes;
  } cases[] = {
      {u'\u301C', "\x81\x60"}, {u'\u2212', "\x81\x7C"}, {u'\u2014', "\x81\x5C"},
      {u'\u2016', "\x81\x61"}, {u'\u00A2', "\x81\x91"}, {u'\u00A3', "\x81\x92"},
      {u'\u00AC', "\x81\xCA"}, {u'\u00A6', "\xFA\x55"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeCp932(QString(QChar(c.character))), c.bytes)
        << std::hex << static_cast<int>(c.character);
  }
  EXPECT_EQ(EncodeCp932(QStringLiteral("山田\u301C太郎")),
            EncodeCp932(QStringLiteral("山田～太郎")));
}

struct DetectCase {
  const char* name;
  QByteArray bytes;
  bool utf8;
};

class Detection : public ::testing::TestWithParam<DetectCase> {};

TEST_P(Detection, TellsUtf8FromCp932) {
  EXPECT_EQ(LooksLikeUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    All, Detection,
    ::testing::Values(DetectCase{"Bom",
                                 QByteArray("\xEF\xBB\xBF"
                                            "abc"),
                                 true},
                      DetectCase{"BomOnly", QByteArray("\xEF\xBB\xBF"), true},
                      DetectCase{"MultiByteUtf8", QByteArray("id,\xE7\xA4\xBE\r\n"), true},
                      DetectCase{"PlainAscii", QByteArray("id,name\r\n"), false},
                      DetectCase{"Empty", QByteArray(), false},
                      DetectCase{"Cp932Kanji", QByteArray("id,\x8E\xD0\x88\xF5\r\n"), false},
                      DetectCase{"TruncatedUtf8", QByteArray("\xE7\xA4"), false},
                      DetectCase{"OverlongUtf8", QByteArray("\xC0\xAF"), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextCodec, InputFilesAreDecodedByTheirLook) {
  EXPECT_EQ(DecodeInputFile(QByteArray("\xEF\xBB\xBF"
                                       "a,b")),
            QStringLiteral("a,b"));
  EXPECT_EQ(DecodeInputFile(QByteArray("\xE7\xA4\xBE\xE5\x93\xA1")), QStringLiteral("社員"));
  EXPECT_EQ(DecodeInputFile(QByteArray("\x8E\xD0\x88\xF5")), QStringLiteral("社員"));
}

// A text is written as its code points are one by one, whatever stands next to what:
// ASCII beside other characters, the corrected characters, lone and paired surrogates.
TEST(TextCodec, Cp932WritesATextAsItsCodePointsOneByOne) {
  const QStringList pieces =
      QStringLiteral("a|社員|\u301C|\x1A|\x7F|\uF86F|\uF8F0|\u200B|\U0001F600|,\"\r\n|\u00E9")
          .split(u'|') +
      QStringList{QChar(0xD800), QChar(0xDC00)};
  for (unsigned seed = 0; seed < 400; ++seed) {
    QString text;
    QByteArray expected;
    unsigned k = seed;
    for (unsigned n = 0; n < 2 + seed % 7; ++n, k = k * 7 + 3) {
      const QString& piece = pieces[k % pieces.size()];
      // Two lone halves in a row would make a pair: not a piece of its own then.
      if (!text.isEmpty() && text.back().isHighSurrogate() && piece.front().isLowSurrogate())
        continue;
      text += piece;
      expected += EncodeCp932(piece);
    }
    EXPECT_EQ(EncodeCp932(text), expected) << text.toStdString();
  }
}

// Reading an input file takes UTF-8 where LooksLikeUtf8 says so, else CP932: ASCII with
// control codes and NUL, byte-order marks before valid and invalid UTF-8, noncharacters
// and four-byte characters, an encoded surrogate, an overlong form, a code point beyond
// U+10FFFF, a character cut off at the end, UTF-8 followed by CP932.
TEST(TextCodec, InputFilesDecodeAsTheDetectedEncoding) {
  const QByteArray cases[] = {QByteArray(),
                              QByteArray("a,b\r\n\0\x1A\x1C\x7F", 9),
                              QByteArray("\xEF\xBB\xBF"),
                              QByteArray("\xEF\xBB\xBF\xE7\xA4\xBE"),
                              QByteArray("\xEF\xBB\xBF\xFF"),
                              QByteArray("\xEF\xBF\xBE\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xC2\x80"),
                              QByteArray("\xED\xA0\x80"),
                              QByteArray("\xC0\xAF"),
                              QByteArray("\xF4\x90\x80\x80"),
                              QByteArray("abc\xE7\xA4"),
                              QByteArray("\xE7\xA4\xBE\x8E\xD0")};
  for (const QByteArray& bytes : cases) {
    const QString expected = LooksLikeUtf8(bytes) ? DecodeUtf8(bytes) : DecodeCp932(bytes);
    EXPECT_EQ(DecodeInputFile(bytes), expected) << bytes.toHex(' ').toStdString();
  }
}

}  // namespace
}  // namespace morvik
