#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "core/failures.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kHolidayName = QStringLiteral("MorvikGraph_祝日_max100.txt");
const QString kCannotOpen = QStringLiteral(
    "エラー：祝日ファイル(MorvikGraph_祝日_max100.txt)が開けませんでした．"
    "「MorvikGraph.exe」のフォルダに「MorvikGraph_祝日_max100.txt」を入れて起動してください．");
const QString kTooMany = QStringLiteral(
    "エラー：「MorvikGraph_祝日_max100.txt」が100行を超えました．100行以内に修正してください.");
const QString kSpaces = QStringLiteral(
    "入力ファイル名にスペースが含まれています.参照からファイルを再設定してください．");

QString HolidayLines(int count) {
  QStringList lines;
  for (int i = 0; i < count; ++i) {
    lines << QStringLiteral("2026/%1/%2,休日%3")
                 .arg(i / 28 + 1, 2, 10, QLatin1Char('0'))
                 .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                 .arg(i);
  }
  return testing::CrLfLines(lines);
}

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() {
    session.programFolder = folder.path();
    session.enterProgramFolder = false;
    session.clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(9, 5, 0)); };
  }
  void WriteHolidays(const QString& text) { folder.WriteCp932(kHolidayName, text); }

  testing::TempFolder folder;
  Session session;
  testing::RecordingFrontend frontend;
};

TEST_F(StartupTest, InitialOptionsAndTodaysMonth) {
  WriteHolidays(QString());
  PrepareSession(session, frontend, {});
  const WorkingTables& t = *session.tables;
  EXPECT_EQ(t.saveJpg, 1);
  EXPECT_EQ(t.saveBmp + t.writeWorkCsv + t.stampIsUtf8 + t.useStaffList + t.fixedMonth, 0);
  EXPECT_EQ(session.form.monthText, "2026/12");
  EXPECT_EQ(t.targetMonthText, "2026/12");
  EXPECT_EQ(t.targetDate, QDate(2026, 12, 7));
  EXPECT_TRUE(t.requestCsvPath.isEmpty());
  EXPECT_TRUE(t.stampCsvPath.isEmpty());
  EXPECT_TRUE(frontend.messages.isEmpty());
  EXPECT_FALSE(frontend.bar(ProgressBar::kStep).visible);
  EXPECT_FALSE(frontend.bar(ProgressBar::kStaff).visible);
}

TEST_F(StartupTest, FileNamesFromTheCommandLine) {
  const struct {
    QStringList arguments;
    QString request;
    QString stamp;
    bool message;
  } cases[] = {
      {{"a申請.csv", "b打刻.csv"}, "a申請.csv", "b打刻.csv", false},
      {{"b打刻.csv", "a申請.csv"}, "a申請.csv", "b打刻.csv", false},
      {{"history-2022.csv", "a申請.csv"}, "a申請.csv", "history-2022.csv", false},
      {{"b打刻.csv"}, "", "b打刻.csv", false},
      {{"history-x.csv"}, "", "history-x.csv", false},
      // A name with a space arrives whole.
      {{"C:/My Data/a申請.csv"}, "C:/My Data/a申請.csv", "", false},
      {{"x.csv", "y.csv", "z.csv"}, "", "", true},
  };
  for (const auto& c : cases) {
    Session fresh;
    fresh.programFolder = folder.path();
    fresh.enterProgramFolder = false;
    testing::RecordingFrontend seen;
    WriteHolidays(QString());
    PrepareSession(fresh, seen, c.arguments);
    const QString label = c.arguments.join(' ');
    EXPECT_EQ(fresh.tables->requestCsvPath, c.request) << label.toStdString();
    EXPECT_EQ(fresh.form.requestFile, c.request) << label.toStdString();
    EXPECT_EQ(fresh.tables->stampCsvPath, c.stamp) << label.toStdString();
    EXPECT_EQ(fresh.form.stampFile, c.stamp) << label.toStdString();
    EXPECT_EQ(seen.messages, c.message ? QStringList{kSpaces} : QStringList{})
        << label.toStdString();
  }
}

TEST_F(StartupTest, HolidayFileLoadsUpToOneHundredRecords) {
  WriteHolidays(HolidayLines(100));
  PrepareSession(session, frontend, {});
  const auto& holidays = session.tables->holidayTable;
  EXPECT_TRUE(holidays[0].date.isEmpty());
  EXPECT_EQ(holidays[1].date, "2026/01/01");
  EXPECT_EQ(holidays[1].name, "休日0");
  EXPECT_EQ(holidays[100].name, "休日99");
  EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(StartupTest, HolidayFileFormsThatLoad) {
  const struct {
    const char* label;
    QString text;
    QString date2;
  } cases[] = {
      {"empty", QString(), QString()},
      {"no final line end", "2026/01/01,元日\r\n2026/01/12,成人の日", "2026/01/12"},
      {"quoted with comma", "\"2026/01/01\",\"元,日\"\r\n2026/01/12,x\r\n", "2026/01/12"},
      {"lone LF", "2026/01/01,元日\n2026/01/12,x\n", "2026/01/12"},
  };
  for (const auto& c : cases) {
    Session fresh;
    fresh.programFolder = folder.path();
    fresh.enterProgramFolder = false;
    testing::RecordingFrontend seen;
    WriteHolidays(c.text);
    EXPECT_NO_THROW(PrepareSession(fresh, seen, {})) << c.label;
    EXPECT_EQ(fresh.tables->holidayTable[2].date, c.date2) << c.label;
    EXPECT_TRUE(seen.messages.isEmpty()) << c.label;
  }
}

QStringList HolidayRows(const Session& session) {
  QStringList rows;
  for (const Holiday& holiday : session.tables->holidayTable) {
    rows << holiday.date + u'|' + holiday.name;
  }
  return rows;
}

// The file users extend by hand every year: empty lines at its end are not records, also
// after the hundredth.
TEST_F(StartupTest, HolidayFileEndingInEmptyLinesLoadsTheSameTable) {
  for (const int records : {2, 100}) {
    const QString text = HolidayLines(records);
    WriteHolidays(text);
    Session plain;
    plain.programFolder = folder.path();
    plain.enterProgramFolder = false;
    PrepareSession(plain, frontend, {});
    for (const char* ending : {"\r\n", "\r\n\r\n", "\n\n"}) {
      Session fresh;
      fresh.programFolder = folder.path();
      fresh.enterProgramFolder = false;
      testing::RecordingFrontend seen;
      WriteHolidays(text + QString::fromLatin1(ending));
      EXPECT_NO_THROW(PrepareSession(fresh, seen, {})) << records << " " << ending;
      EXPECT_EQ(HolidayRows(fresh), HolidayRows(plain)) << records;
      EXPECT_TRUE(seen.messages.isEmpty()) << records;
    }
  }
  EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(StartupTest, HolidayFailuresEndTheProgram) {
  const struct {
    const char* label;
    std::optional<QByteArray> bytes;  // nothing: no file at all
    QString message;
  } cases[] = {
      {"missing", std::nullopt, kCannotOpen},
      {"101 records", {}, kTooMany},
      {"record cut short", QByteArray("2026/01/01,a\r\n2026/01/02"), kCannotOpen},
      {"record cut short before empty lines", QByteArray("2026/01/01,a\r\n2026/01/02\r\n\r\n"),
       kCannotOpen},
      {"odd field count shifts to a short record", QByteArray("a,b,c\r\n"), kCannotOpen},
  };
  for (const auto& c : cases) {
    testing::TempFolder own;
    Session fresh;
    fresh.programFolder = own.path();
    fresh.enterProgramFolder = false;
    testing::RecordingFrontend seen;
    if (QString(c.label) == "101 records") {
      own.WriteCp932(kHolidayName, HolidayLines(101));
    } else if (c.bytes) {
      own.WriteBytes(kHolidayName, *c.bytes);
    }
    EXPECT_THROW(PrepareSession(fresh, seen, {}), ProgramEnd) << c.label;
    EXPECT_EQ(seen.messages, QStringList{c.message}) << c.label;
  }
}

TEST_F(StartupTest, AnyBytesNeverCrash) {
  QByteArray bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131 + 7) % 256);
  folder.WriteBytes(kHolidayName, bytes);
  try {
    PrepareSession(session, frontend, {});
  } catch (const ProgramEnd&) {
    EXPECT_EQ(frontend.messages.size(), 1);
  }
}

TEST(CorrectFileNameOrderTest, RulesApplyInOrder) {
  const struct {
    QString request, stamp, wantRequest, wantStamp;
    bool moved;
  } cases[] = {
      {"a申請.csv", "b打刻.csv", "a申請.csv", "b打刻.csv", false},
      {"b打刻.csv", "a申請.csv", "a申請.csv", "b打刻.csv", true},
      {"history-1.csv", "申請.csv", "申請.csv", "history-1.csv", true},
      {"打刻.csv", "", "", "打刻.csv", true},
      {"history-1.csv", "", "", "history-1.csv", true},
      {"x.csv", "", "x.csv", "", false},
  };
  for (const auto& c : cases) {
    QString request = c.request, stamp = c.stamp;
    EXPECT_EQ(CorrectFileNameOrder(request, stamp), c.moved) << c.request.toStdString();
    EXPECT_EQ(request, c.wantRequest);
    EXPECT_EQ(stamp, c.wantStamp);
  }
}

}  // namespace
}  // namespace morvik
