#include "core/text_rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/failures.h"

namespace morvik {
namespace {

TEST(TextRulesTest, NumericValueTakesTheLeadingNumber) {
  const struct {
    const char* text;
    qint32 value;
  } cases[] = {
      {"05", 5},   {"  12abc", 12}, {"", 0},   {"x1", 0},     {"2.5", 2},
      {"3.5", 4},  {"-7", -7},      {"31)", 31}, {"1.49", 1}, {".5", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumericValue(QString::fromUtf8(c.text)), c.value) << c.text;
  }
}

// Whole numbers take a short path; longer ones, fractions and signs must read alike.
TEST(TextRulesTest, LeadingNumberReadsLongAndSignedNumbersExactly) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"999999999999999", 999999999999999.0},  {"1234567890123456789", 1234567890123456789.0},
      {"-000000000000000012", -12.0},          {"+42x", 42.0},
      {"-3.25", -3.25},                        {"12.", 12.0},
      {"\t 7:30", 7.0},                        {"+", 0.0},
      {"-", 0.0},                              {"9007199254740993", 9007199254740992.0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeadingNumber(QString::fromUtf8(c.text)), c.value) << c.text;
  }
  EXPECT_TRUE(std::signbit(LeadingNumber(u"-0")));
}

TEST(TextRulesTest, NumericValueOutside32BitsFails) {
  EXPECT_THROW(NumericValue(u"99999999999"), RunFailure);
}

TEST(TextRulesTest, MinutesOfTime) {
  const struct {
    const char* time;
    qint32 minutes;
  } cases[] = {{"08:30", 510}, {"17:15", 1035}, {"00:00", 0}, {"8:30", 480},
               {"", 0},        {"ab:cd", 0},    {"23:59", 1439}};
  for (const auto& c : cases) EXPECT_EQ(MinutesOfTime(QString::fromUtf8(c.time)), c.minutes) << c.time;
}

TEST(TextRulesTest, WholeNumberAcceptsOnlyNumbers) {
  EXPECT_EQ(WholeNumber(u"1.5"), 1.5);
  EXPECT_EQ(WholeNumber(u" 2 "), 2.0);
  EXPECT_EQ(WholeNumber(u"0.75"), 0.75);
  EXPECT_FALSE(WholeNumber(u"").has_value());
  EXPECT_FALSE(WholeNumber(u"1.5h").has_value());
  EXPECT_FALSE(WholeNumber(u"abc").has_value());
}

TEST(TextRulesTest, DateNormalForm) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"2022/4/1", "2022/04/01"},
               {"2022/04/01", "2022/04/01"},
               {"2022/12/31/extra", "2022/12/31"},
               {"22/4/", "22/04/"},
               {"2022/04/32", "2022/04/32"},
               {"2022//5", "2022//05"},
               {"/1/2/", "/01/02"},
               {"令和4/1/2", "令和4/01/02"}};
  for (const auto& c : cases) {
    EXPECT_EQ(NormalisedDate(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
  }
  EXPECT_FALSE(NormalisedDate("2022-04-01").has_value());
  EXPECT_FALSE(NormalisedDate("").has_value());
}

TEST(TextRulesTest, TimeNormalFormPadsFourCharacters) {
  EXPECT_EQ(NormalisedTime("8:30"), "08:30");
  EXPECT_EQ(NormalisedTime("08:30"), "08:30");
  EXPECT_EQ(NormalisedTime("830"), "830");
  EXPECT_EQ(NormalisedTime(""), "");
}

}  // namespace
}  // namespace morvik
