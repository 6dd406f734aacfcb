#include "chart/text_patches.h"

#include <QPainter>
#include <QStaticText>

#include <gtest/gtest.h>

#include <random>

#include "chart/canvas.h"

namespace morvik {
namespace {

std::vector<uchar> Bytes(std::size_t size, uchar first) {
  std::vector<uchar> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<uchar>(first + i);
  return bytes;
}

struct FindCase {
  const char* name;
  quint64 text, colour;
  std::size_t changedByte;  // of the pixels beneath; past the end: none
  std::size_t size;
  bool found;
};

class TextPatchesFindTest : public ::testing::TestWithParam<FindCase> {};

// The key names the hash of the pixels beneath, as a colliding hash would: a printing is
// found only over the very pixels it was kept for.
TEST_P(TextPatchesFindTest, FindsAPrintingOnlyOverThePixelsItWasKeptFor) {
  const FindCase& c = GetParam();
  const std::vector<uchar> beneath = Bytes(300, 7), printed = Bytes(300, 90);
  TextPatches patches;
  patches.Keep({1, 2, 42}, beneath, printed);
  std::vector<uchar> asked = Bytes(c.size, 7);
  if (c.changedByte < asked.size()) asked[c.changedByte] ^= 1;
  const uchar* found = patches.Find({c.text, c.colour, 42}, asked);
  ASSERT_EQ(found != nullptr, c.found);
  if (found) {
    EXPECT_TRUE(std::equal(printed.begin(), printed.end(), found));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, TextPatchesFindTest,
                         ::testing::Values(FindCase{"SamePixels", 1, 2, 999, 300, true},
                                           FindCase{"FirstPixelDiffers", 1, 2, 0, 300, false},
                                           FindCase{"LastPixelDiffers", 1, 2, 299, 300, false},
                                           FindCase{"FewerPixels", 1, 2, 999, 299, false},
                                           FindCase{"OtherText", 3, 2, 999, 300, false},
                                           FindCase{"OtherColour", 1, 5, 999, 300, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextPatchesTest, StaysWithinItsBudgetAndKeepsWhatIsFoundAgain) {
  constexpr std::size_t kSize = TextPatches::kBudget / 40;
  const std::vector<uchar> beneath = Bytes(kSize, 1), printed = Bytes(kSize, 2);
  TextPatches patches;
  for (quint64 text = 0; text < 200; ++text) {
    patches.Keep({text, 0, 0}, beneath, printed);
    ASSERT_LE(patches.keptBytes(), TextPatches::kBudget);
    ASSERT_NE(patches.Find({0, 0, 0}, beneath), nullptr) << "after text " << text;
  }
  EXPECT_EQ(patches.Find({1, 0, 0}, beneath), nullptr);
}

struct InkCase {
  const char* name;
  QString text;
  int pixelSize;
  bool bold;
  QColor colour;
};

class TextInkTest : public ::testing::TestWithParam<InkCase> {};

// Printed at whole-pixel positions over the same pixels (flat, a bar's edge, noise), a
// text gives the same pixels wherever it is and whatever lies around, and changes none
// outside its ink area.
TEST_P(TextInkTest, PrintingGivesTheSamePixelsAnywhereAndStaysInItsInk) {
  const InkCase& c = GetParam();
  QFont font = Canvas::TextFont();
  font.setPixelSize(c.pixelSize);
  font.setBold(c.bold);
  QStaticText text(c.text);
  text.prepare(QTransform(), font);
  const std::optional<QRect> ink = TextPatches::InkOf(text, font);
  ASSERT_TRUE(ink && !ink->isEmpty());
  const QRect around = ink->adjusted(-c.pixelSize, -c.pixelSize, c.pixelSize, c.pixelSize);
  std::mt19937 random(20261208);
  const auto anyColour = [&] { return QColor::fromRgb(random() & 0xFFFFFF); };
  for (int kind = 0; kind < 6; ++kind) {
    QImage beneath(around.size(), QImage::Format_RGB888);
    beneath.fill(anyColour());
    for (int y = 0; y < beneath.height(); ++y) {
      for (int x = 0; x < beneath.width(); ++x) {
        if (kind % 3 == 2 || (kind % 3 == 1 && x > 2 * y)) beneath.setPixelColor(x, y, anyColour());
      }
    }
    std::vector<uchar> first, printed, unprinted;
    for (int place = 0; place < 12; ++place) {
      QImage image(300, 120, QImage::Format_RGB888);
      image.fill(anyColour());
      const QPoint at(std::uniform_int_distribution(-around.left(), 299 - around.right())(random),
                      std::uniform_int_distribution(-around.top(), 119 - around.bottom())(random));
      QPainter(&image).drawImage(around.topLeft() + at, beneath);
      const QImage before = image.copy();
      QPainter painter(&image);
      painter.setFont(font);
      painter.setPen(c.colour);
      painter.drawStaticText(at, text);
      painter.end();
      TextPatches::Read(image, ink->translated(at), printed);
      TextPatches::Read(before, ink->translated(at), unprinted);
      if (place == 0) first = printed;
      ASSERT_EQ(printed, first) << "pixels beneath " << kind << ", at " << at.x() << "," << at.y();
      TextPatches::Write(unprinted.data(), ink->translated(at), image);
      ASSERT_EQ(image, before) << "printed outside its ink, pixels beneath " << kind;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextInkTest,
    ::testing::Values(InkCase{"Request", "時間外 診療記録整理", 12, false, QColor(100, 100, 100)},
                      InkCase{"Pending", "■日当直 当直", 12, true, QColor(0, 128, 0)},
                      InkCase{"Rejected", "×休暇申請(午前年休)", 12, false, QColor(128, 0, 255)},
                      InkCase{"Title", "2026/11　勤務表", 24, true, QColor(0, 0, 0)},
                      InkCase{"Latin", "Wj|gÅ e\u0301 f\u0336 18.5 hr", 16, false,
                              QColor(255, 0, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvik
