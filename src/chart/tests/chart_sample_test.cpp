// A realistic month drawn end to end. Set MORVIK_CHART_SAMPLE_DIR to keep the picture
// (chart_sample.png) for a look by eye.
#include <QDate>
#include <QDir>

#include <gtest/gtest.h>

#include <memory>

#include "chart/canvas.h"
#include "chart/chart_drawing.h"
#include "chart/stamp_index.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"

namespace morvik {
namespace {

const QString kWeekdays[] = {
    QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
    QStringLiteral("金"), QStringLiteral("土"), QStringLiteral("日"),
};

class SampleMonth {
 public:
  SampleMonth() {
    WorkingTables& t = *tables;
    t.requestMonthPrefix = QStringLiteral("2022/04/");
    t.staffNo = QStringLiteral("00123");
    t.staffDept = QStringLiteral("内科");
    t.staffName = QStringLiteral("山田　太郎");
    t.regularMinutes = 20 * 480;
    t.netRegularMinutes = t.regularMinutes - 480 - 240;
    t.overtimeMinutes = 750;
    for (int day = 1; day <= 30; ++day) {
      const QDate date(2022, 4, day);
      const bool holiday = day == 29;
      t.dayLabel[day] = date.toString(QStringLiteral("MM/dd(")) +
                        (holiday ? QStringLiteral("祝") : kWeekdays[date.dayOfWeek() - 1]) + u')';
      if (date.dayOfWeek() <= 5 && !holiday) {
        Work(day, "08:30", "12:00");
        Work(day, "13:00", "17:15");
        Stamp(day, QStringLiteral("08:%1").arg(10 + day % 15));
        Stamp(day, QStringLiteral("17:%1").arg(20 + day % 30));
      }
    }
    // Overtime, a night duty over the weekend, leave, self-study, every approval state.
    Work(5, "17:15", "19:30");
    Request(5, "時間外 会議資料作成", "17:15", "19:30", "承認");
    Work(8, "17:15", "23:59");
    Request(8, "日当直 当直", "17:15", "08:30", "承認");
    Work(9, "00:00", "08:30");
    Request(9, "日当直 当直", "00:00", "08:30", "承認");
    Stamp(9, QStringLiteral("08:41"));
    t.workStart[12] = {};
    t.workEnd[12] = {};
    Request(12, "年休 私用", "08:30", "17:15", "承認");
    t.workStart[14][2] = {};
    t.workEnd[14][2] = {};
    Request(14, "年休 通院", "13:00", "17:15", "承認");
    Work(20, "17:30", "19:00");
    Request(20, "自己研鑽 学会発表準備", "17:30", "19:00", "承認");
    Work(21, "17:15", "18:30");
    Request(21, "時間外 患者対応", "17:15", "18:30", "承認待ち");
    Work(22, "17:15", "20:00");
    Request(22, "時間外 カンファレンス", "17:15", "20:00", "却下");
    Work(25, "17:15", "18:00");
    Request(25, "時間外 記録", "17:15", "18:00", "");
    Work(30, "09:00", "12:00");
    Request(30, "日当直 日直", "09:00", "12:00", "承認");
  }

  void Work(int day, const char* start, const char* end) {
    int slot = 1;
    while (!tables->workStart.at(day).at(slot).isEmpty()) ++slot;
    tables->workStart[day][slot] = QString::fromUtf8(start);
    tables->workEnd[day][slot] = QString::fromUtf8(end);
  }

  void Request(int day, const char* label, const char* start, const char* end, const char* state) {
    int slot = 1;
    while (!tables->requestLabel.at(day).at(slot).isEmpty()) ++slot;
    tables->requestLabel[day][slot] = QString::fromUtf8(label);
    tables->requestStart[day][slot] = QString::fromUtf8(start);
    tables->requestEnd[day][slot] = QString::fromUtf8(end);
    tables->requestState[day][slot] = QString::fromUtf8(state);
  }

  void Stamp(int day, const QString& time) {
    StampRow& row = tables->stampTable.at(++tables->stampRowCount);
    row[1] = tables->staffNo;
    row[2] = tables->staffName;
    row[9] = QStringLiteral("2022/04/%1").arg(day, 2, 10, QChar(u'0'));
    row[10] = time;
  }

  std::unique_ptr<WorkingTables> tables = std::make_unique<WorkingTables>();
};

TEST(ChartSampleTest, OnlyTheHeaderClockDependsOnNow) {
  SampleMonth month;
  testing::RecordingFrontend frontend;
  Canvas first;
  DrawChart(*month.tables, StampIndex(*month.tables), first, frontend,
            QDateTime(QDate(2022, 5, 2), QTime(9, 5, 7)));
  Canvas second;
  DrawChart(*month.tables, StampIndex(*month.tables), second, frontend,
            QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59)));

  const QString folder = qEnvironmentVariable("MORVIK_CHART_SAMPLE_DIR");
  if (!folder.isEmpty())
    first.image().save(QDir(folder).filePath(QStringLiteral("chart_sample.png")));

  const QRect clock(900, 15, Canvas::kWidth - 900, 13);
  int differing = 0;
  for (int y = 0; y < Canvas::kHeight; ++y) {
    for (int x = 0; x < Canvas::kWidth; ++x) {
      if (first.image().pixel(x, y) == second.image().pixel(x, y)) continue;
      ++differing;
      ASSERT_TRUE(clock.contains(x, y)) << "pixel " << x << "," << y;
    }
  }
  EXPECT_GT(differing, 20);
}

}  // namespace
}  // namespace morvik
