#include "chart/chart_drawing.h"

#include "chart/canvas.h"
#include "chart/chart_colours.h"
#include "chart/chart_geometry.h"
#include "chart/chart_rows.h"
#include "chart/chart_totals.h"
#include "chart/stamp_index.h"
#include "chart/stamp_plot.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

using chart::HourX;
using chart::RowLineY;

constexpr double kSmallPoints = 9;
constexpr double kNamePoints = 12;
constexpr double kTitlePoints = 18;

constexpr float kGridTop = 100;
constexpr float kGridBottom = 746;
constexpr float kHourNumberTop = 85;
constexpr float kHourNumberBottom = 748;
constexpr float kHourNumberOffset = 8;  // centres the one- and two-digit numbers

const QString kTitleSuffix = QStringLiteral("　勤務表");
const QString kHeaderClockFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");
const QString kNote = QStringLiteral(
    "注：月の最終日の当直は翌日の当直明け(8:30)までの表示となります．"
    "1日は前月の直明け分の勤務(0:00～8:30)は表示されません．");

struct LegendSwatch {
  float x1, y1, x2, y2;
  QColor colour;
};

struct LegendCaption {
  float x, y;
  bool bold;
  QColor colour;
  QString text;
};

void DrawDayLabels(const WorkingTables& tables, Canvas& canvas) {
  canvas.SetFont(kSmallPoints, false);
  for (int day = 1; day <= 32; ++day) {
    const QString& label = tables.dayLabel.at(day);
    const bool sunday = label.contains(u'日');
    const bool saturday = label.contains(u'土');
    canvas.SetTextPosition(20, chart::RowTextY(day));
    canvas.SetTextColor(sunday || saturday || label.contains(u'祝') ? chart::kHolidayRed
                                                                    : chart::kBlack);
    canvas.Print(label);
    // Weeks run Sunday to Saturday: a thick line above each Sunday, below each Saturday.
    if (sunday) {
      canvas.FilledBox(80, RowLineY(day) - 1, 992, RowLineY(day) + 1, chart::kBlack);
    }
    if (saturday) {
      canvas.FilledBox(80, RowLineY(day + 1) - 1, 992, RowLineY(day + 1) + 1, chart::kBlack);
    }
  }
}

void PrintAt(Canvas& canvas, float x, float y, double points, bool bold, const QString& text) {
  canvas.SetFont(points, bold);
  canvas.SetTextPosition(x, y);
  canvas.Print(text);
}

void DrawHeader(const WorkingTables& tables, Canvas& canvas, const QDateTime& now) {
  canvas.SetTextColor(chart::kBlack);
  PrintAt(canvas, 430, 30, kTitlePoints, true, tables.requestMonthPrefix.left(7) + kTitleSuffix);
  PrintAt(canvas, 900, 15, kSmallPoints, false, now.toString(kHeaderClockFormat));
  PrintAt(canvas, 880, 30, kSmallPoints, true, tables.staffNo);
  PrintAt(canvas, 880, 45, kSmallPoints, true, tables.staffDept);
  PrintAt(canvas, 880, 60, kNamePoints, true, tables.staffName);
}

void DrawLegend(Canvas& canvas) {
  static const LegendSwatch kSwatches[] = {
      {60, 30, 100, 42, chart::kRegularBlue},     {60, 47, 100, 59, chart::kOvertimePink},
      {60, 64, 100, 76, chart::kSelfStudyYellow}, {200, 30, 240, 42, chart::kLeaveGrey},
      {200, 47, 205, 59, chart::kStampRed},
  };
  static const LegendCaption kCaptions[] = {
      {105, 31, false, chart::kBlack, QStringLiteral("通常勤務")},
      {105, 48, false, chart::kBlack, QStringLiteral("時間外・当直")},
      {105, 65, false, chart::kBlack, QStringLiteral("自己研鑽")},
      {245, 31, false, chart::kBlack, QStringLiteral("休暇")},
      {210, 48, false, chart::kBlack, QStringLiteral("打刻時間")},
      {300, 31, false, chart::kBlack, QStringLiteral("黒色：承認済")},
      {300, 48, false, chart::kRejectedPurple, QStringLiteral("紫×：却下")},
      {300, 65, true, chart::kPendingGreen, QStringLiteral("緑■：承認待ち")},
  };
  for (const LegendSwatch& swatch : kSwatches) {
    canvas.FilledBox(swatch.x1, swatch.y1, swatch.x2, swatch.y2, swatch.colour);
  }
  for (const LegendCaption& caption : kCaptions) {
    canvas.SetTextColor(caption.colour);
    PrintAt(canvas, caption.x, caption.y, kSmallPoints, caption.bold, caption.text);
  }
}

void DrawTotals(const WorkingTables& tables, Canvas& canvas) {
  const auto lines =
      chart::TotalsLines(tables.regularMinutes, tables.netRegularMinutes, tables.overtimeMinutes);
  canvas.SetTextColor(chart::kBlack);
  PrintAt(canvas, 670, 31, kSmallPoints, false, lines[0]);
  PrintAt(canvas, 670, 48, kSmallPoints, false, lines[1]);
  PrintAt(canvas, 670, 65, kSmallPoints, false, lines[2]);
}

void DrawNote(Canvas& canvas) {
  canvas.SetTextColor(chart::kBlack);
  PrintAt(canvas, 85, 728, kSmallPoints, false, kNote);
}

// The grid, the day labels, the legend and the note under the bars depend on the labels
// only, so every staff member of a month shares them: the canvas keeps them as a layer.
// The legend and the note share no pixel with the header and the totals (those start
// right of x = 430 and above y = 100; the legend ends left of x = 390, the note lies at
// the bottom), so drawing them before the header leaves every pixel as it was.
void DrawMonthLayer(const WorkingTables& tables, Canvas& canvas) {
  QString key = Canvas::FaceName();
  for (int day = 1; day <= 32; ++day) key += u'\n' + tables.dayLabel.at(day);
  if (canvas.RestoreLayer(key)) return;
  DrawChartGrid(canvas);
  DrawDayLabels(tables, canvas);
  DrawLegend(canvas);
  DrawNote(canvas);
  canvas.StoreLayer(key);
}

}  // namespace

void DrawChartGrid(Canvas& canvas) {
  canvas.Clear();
  canvas.SetFont(kSmallPoints, false);
  // The hour numbers take the text colour left by the previous chart (black).
  for (int hour = 0; hour <= 24; ++hour) {
    const float x = HourX(hour);
    const bool frame = hour == 0 || hour == 24;
    canvas.SetLineStyle(frame ? LineStyle::kSolid : LineStyle::kDotted);
    canvas.Line(x, kGridTop, x, kGridBottom, frame ? chart::kBlack : chart::kHourLineGrey);
    canvas.SetTextPosition(x - kHourNumberOffset, kHourNumberTop);
    canvas.PrintNumber(hour);
    canvas.SetTextPosition(x - kHourNumberOffset, kHourNumberBottom);
    canvas.PrintNumber(hour);
  }
  canvas.SetLineStyle(LineStyle::kSolid);
  for (int line = 1; line <= 33; ++line) {
    canvas.Line(80, RowLineY(line), 992, RowLineY(line), chart::kBlack);
  }
}

void DrawChart(const WorkingTables& tables, const StampIndex& index, Canvas& canvas,
               Frontend& frontend, const QDateTime& now) {
  DrawMonthLayer(tables, canvas);
  DrawHeader(tables, canvas, now);
  DrawTotals(tables, canvas);
  chart::DrawDayBars(tables, canvas);
  chart::DrawRequestTexts(tables, canvas);
  // Again, on top of any bar in row 32.
  DrawNote(canvas);
  PlotStamps(tables, index, canvas, frontend);
}

}  // namespace morvik
