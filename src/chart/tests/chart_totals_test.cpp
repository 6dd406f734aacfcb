#include "chart/chart_totals.h"

#include <gtest/gtest.h>

namespace morvik::chart {
namespace {

struct OneDecimalCase {
  double value;
  const char* expected;
};

class OneDecimalTest : public ::testing::TestWithParam<OneDecimalCase> {};

TEST_P(OneDecimalTest, RoundsTheDecimalValueHalvesAwayFromZero) {
  EXPECT_EQ(OneDecimal(GetParam().value).toStdString(), GetParam().expected)
      << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, OneDecimalTest,
    ::testing::Values(
        OneDecimalCase{0, "0.0"}, OneDecimalCase{160, "160.0"}, OneDecimalCase{12.5, "12.5"},
        // Just below the half in binary, a half in 15 significant digits.
        OneDecimalCase{9 / 60.0, "0.2"}, OneDecimalCase{0.25, "0.3"}, OneDecimalCase{0.35, "0.4"},
        OneDecimalCase{1.05, "1.1"}, OneDecimalCase{2.45, "2.5"}, OneDecimalCase{-9 / 60.0, "-0.2"},
        OneDecimalCase{0.04, "0.0"}, OneDecimalCase{-0.04, "0.0"}, OneDecimalCase{0.149, "0.1"},
        OneDecimalCase{9.96, "10.0"}, OneDecimalCase{99.95, "100.0"},
        OneDecimalCase{1 / 60.0, "0.0"}, OneDecimalCase{3 / 60.0, "0.1"},
        OneDecimalCase{0.0001, "0.0"}, OneDecimalCase{35791394.1166667, "35791394.1"},
        OneDecimalCase{-35791394.1333333, "-35791394.1"}));

struct GeneralCase {
  double value;
  const char* expected;
};

class GeneralNumberTest : public ::testing::TestWithParam<GeneralCase> {};

TEST_P(GeneralNumberTest, IntegralWithoutPointElseShortestUpTo15Digits) {
  EXPECT_EQ(GeneralNumber(GetParam().value).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, GeneralNumberTest,
                         ::testing::Values(GeneralCase{20, "20"}, GeneralCase{0, "0"},
                                           GeneralCase{-0.0, "0"}, GeneralCase{20.5, "20.5"},
                                           GeneralCase{0.125, "0.125"},
                                           GeneralCase{10 / 480.0, "0.0208333333333333"},
                                           GeneralCase{9 / 480.0, "0.01875"},
                                           GeneralCase{-3, "-3"}));

struct TotalsCase {
  qint32 regular, net, overtime;
  const char* lines[3];
};

class TotalsLinesTest : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(TotalsLinesTest, ReadsAsTheChartShowsThem) {
  const TotalsCase& c = GetParam();
  const auto lines = TotalsLines(c.regular, c.net, c.overtime);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(lines[i], QString::fromUtf8(c.lines[i])) << "line " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Months, TotalsLinesTest,
    ::testing::Values(TotalsCase{9600,
                                 9120,
                                 750,
                                 {"拘束時間：160.0 hr (8hr×20日)", "実勤務　：152.0 hr (休 8.0 hr)",
                                  "時間外　：12.5 hr"}},
                      TotalsCase{0,
                                 0,
                                 0,
                                 {"拘束時間：0.0 hr (8hr×0日)", "実勤務　：0.0 hr (休 0.0 hr)",
                                  "時間外　：0.0 hr"}},
                      // Half days of leave and odd overtime minutes.
                      TotalsCase{9840,
                                 9600,
                                 9,
                                 {"拘束時間：164.0 hr (8hr×20.5日)",
                                  "実勤務　：160.0 hr (休 4.0 hr)", "時間外　：0.2 hr"}},
                      TotalsCase{9600,
                                 9561,
                                 1009,
                                 {"拘束時間：160.0 hr (8hr×20日)", "実勤務　：159.4 hr (休 0.7 hr)",
                                  "時間外　：16.8 hr"}}));

}  // namespace
}  // namespace morvik::chart
