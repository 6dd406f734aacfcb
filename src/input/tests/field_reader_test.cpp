#include "input/field_reader.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <vector>

#include "core/failures.h"

namespace morvik {
namespace {

// Reads records of `width` fields until the reader says the text is used up.
std::vector<QStringList> ReadAll(const QString& text, int width) {
  FieldReader reader(text, QStringLiteral("test.csv"));
  std::vector<QStringList> records;
  while (!reader.AtEnd()) {
    std::vector<QString> fields(width);
    reader.ReadRecord(fields);
    records.emplace_back(fields.begin(), fields.end());
  }
  return records;
}

struct ReaderCase {
  const char* name;
  QString text;
  int width;
  std::vector<QStringList> records;
};

class FieldReaderCases : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(FieldReaderCases, ReadsRecords) {
  const ReaderCase& c = GetParam();
  EXPECT_EQ(ReadAll(c.text, c.width), c.records);
}

using L = QStringList;
const ReaderCase kReaderCases[] = {
    {"PlainRecords", "a,b\r\nc,d\r\n", 2, {L{"a", "b"}, L{"c", "d"}}},
    {"NoFinalLineEnd", "a,b\r\nc,d", 2, {L{"a", "b"}, L{"c", "d"}}},
    {"QuotedCommaAndLineEnd", "\"a,b\r\nc\",d\r\n", 2, {L{"a,b\r\nc", "d"}}},
    {"DoubledQuoteInQuoted", "\"say \"\"hi\"\"\",x\r\n", 2, {L{"say \"hi\"", "x"}}},
    {"QuoteInsideUnquoted", "x\"y,z\r\n", 2, {L{"x\"y", "z"}}},
    {"TextAfterClosingQuote", "\"ab\"cd,e\r\n", 2, {L{"abcd", "e"}}},
    {"EmptyQuotedField", "\"\",b\r\n", 2, {L{"", "b"}}},
    {"EmptyFields", "a,,c\r\n,,\r\n", 3, {L{"a", "", "c"}, L{"", "", ""}}},
    {"EmptyLineIsOneField", "a\r\n\r\nb\r\n", 1, {L{"a"}, L{""}, L{"b"}}},
    {"BlanksBeforeSkippedAfterKept", "  a ,\t b\r\n", 2, {L{"a ", "b"}}},
    {"BlanksBeforeQuote", "  \" a\",b\r\n", 2, {L{" a", "b"}}},
    {"LoneLf", "a,b\nc,d\n", 2, {L{"a", "b"}, L{"c", "d"}}},
    {"LoneCr", "a,b\rc,d\r", 2, {L{"a", "b"}, L{"c", "d"}}},
    {"MixedLineEnds", "a\r\nb\nc\rd", 1, {L{"a"}, L{"b"}, L{"c"}, L{"d"}}},
    {"LfThenCrIsTwoLineEnds", "a\n\rb", 1, {L{"a"}, L{""}, L{"b"}}},
    // A line end is one separator: a short line pulls the next line's fields up.
    {"ShortLineShiftsRecords", "a\r\nb,c\r\nd,e,f\r\n", 3, {L{"a", "b", "c"}, L{"d", "e", "f"}}},
    {"TrailingCommaGivesEmptyField", "a,", 2, {L{"a", ""}}},
    {"EmptyText", "", 2, {}},
    {"UnclosedQuoteRunsToEnd", "\"a,b\r\nc", 1, {L{"a,b\r\nc"}}},
    {"NonAsciiText", "山田,太郎\r\n", 2, {L{"山田", "太郎"}}},
    // Empty lines after the last record end the text; only between records are they fields.
    {"TwoEmptyLinesAtTheEnd", "a,b\r\n\r\n\r\n", 2, {L{"a", "b"}}},
    {"OneEmptyLineAtTheEnd", "a,b\r\n\r\n", 2, {L{"a", "b"}}},
    {"LoneLineEndsAtTheEnd", "a\n\n\r\r", 1, {L{"a"}}},
    {"OnlyEmptyLines", "\r\n\r\n", 1, {}},
    {"EmptyFieldAfterCommaBeforeEmptyLines", "a,\r\n\r\n", 2, {L{"a", ""}}},
    {"LineEndsInsideAQuotedLastField", "\"a\r\n\r\n\"\r\n\r\n", 1, {L{"a\r\n\r\n"}}},
    {"BlankLineAtTheEndIsAField", "a\r\n \r\n", 1, {L{"a"}, L{""}}},
};

INSTANTIATE_TEST_SUITE_P(All, FieldReaderCases, ::testing::ValuesIn(kReaderCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CutShortCase {
  const char* name;
  QString text;
  int width;
  QString detail;  // the failure detail after the source's name
};

class RecordsCutShort : public ::testing::TestWithParam<CutShortCase> {};

// Empty lines at the end neither complete a short last record nor count among its fields.
TEST_P(RecordsCutShort, ThrowWithSourceAndRecord) {
  const CutShortCase& c = GetParam();
  try {
    ReadAll(c.text, c.width);
    FAIL() << "a record cut short must fail";
  } catch (const RunFailure& failure) {
    EXPECT_EQ(failure.detail(), "test.csv: " + c.detail);
  }
}

const QString kCutShort =
    QStringLiteral("record %1 is cut short by the end of the file (%2 of %3 fields)");

INSTANTIATE_TEST_SUITE_P(
    All, RecordsCutShort,
    ::testing::Values(CutShortCase{"SecondRecord", "a,b,c\r\nd,e\r\n", 3,
                                   kCutShort.arg(2).arg(2).arg(3)},
                      CutShortCase{"BeforeEmptyLines", "a,b,c\r\nd,e\r\n\r\n\r\n", 3,
                                   kCutShort.arg(2).arg(2).arg(3)},
                      CutShortCase{"OneFieldShortBeforeAnEmptyLine", "a,b\r\n\r\n", 3,
                                   kCutShort.arg(1).arg(2).arg(3)},
                      CutShortCase{"TrailingCommaBeforeEmptyLines", "a,b,c\r\nd,\r\n\r\n", 3,
                                   kCutShort.arg(2).arg(2).arg(3)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FieldReader, RecordCutShortThrowsWithSourceAndRecord) {
  FieldReader reader(QStringLiteral("a,b,c\r\nd,e\r\n"), QStringLiteral("stamps.csv"));
  std::vector<QString> fields(3);
  reader.ReadRecord(fields);
  try {
    reader.ReadRecord(fields);
    FAIL() << "a record cut short must fail";
  } catch (const RunFailure& failure) {
    EXPECT_TRUE(failure.detail().contains(QStringLiteral("stamps.csv")));
    EXPECT_TRUE(failure.detail().contains(QStringLiteral("record 2")));
  }
}

TEST(FieldReader, CountsRecordsAndMovesPosition) {
  FieldReader reader(QStringLiteral("a\r\nb\r\n"), QStringLiteral("x"));
  std::vector<QString> field(1);
  EXPECT_EQ(reader.position(), 0);
  reader.ReadRecord(field);
  EXPECT_EQ(reader.recordCount(), 1);
  EXPECT_EQ(reader.position(), 3);
  reader.ReadRecord(field);
  EXPECT_EQ(reader.recordCount(), 2);
  EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace morvik
