#include "chart/chart_rows.h"

#include <QStringList>

#include "chart/canvas.h"
#include "chart/chart_colours.h"
#include "chart/chart_geometry.h"
#include "core/text_rules.h"
#include "core/working_tables.h"

namespace morvik::chart {
namespace {

// 08:30 and 17:15: a weekday bar entirely inside them is regular work.
constexpr qint32 kRegularStart = 510;
constexpr qint32 kRegularEnd = 1035;

const QString kSelfStudy = QStringLiteral("自己研鑽");
const QStringList kLeaveWords = {
    QStringLiteral("職免"), QStringLiteral("年休"), QStringLiteral("夏休"), QStringLiteral("忌引"),
    QStringLiteral("病休"), QStringLiteral("産休"), QStringLiteral("育休"), QStringLiteral("休暇"),
};

const QString kApproved = QStringLiteral("承認");
const QString kPending = QStringLiteral("承認待ち");
const QString kRejected = QStringLiteral("却下");
const QString kPendingMark = QStringLiteral("■");
const QString kRejectedMark = QStringLiteral("×");

constexpr double kTextPoints = 9;

bool IsWorkingWeekday(const QString& dayLabel) {
  return !dayLabel.contains(u'日') && !dayLabel.contains(u'土') && !dayLabel.contains(u'祝');
}

bool IsLeave(const QString& requestLabel) {
  for (const QString& word : kLeaveWords) {
    if (requestLabel.contains(word)) return true;
  }
  return false;
}

void DrawBaseBars(const WorkingTables& tables, Canvas& canvas, int day) {
  const bool weekday = IsWorkingWeekday(tables.dayLabel.at(day));
  const Band band = BarBand(day);
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    const QString& startTime = tables.workStart.at(day).at(slot);
    const QString& endTime = tables.workEnd.at(day).at(slot);
    if (startTime.isEmpty() && endTime.isEmpty()) continue;  // most slots are unused
    const qint32 start = MinutesOfTime(startTime);
    const qint32 end = MinutesOfTime(endTime);
    if (start == 0 && end == 0) continue;
    // One colour for the whole bar: a period reaching outside 08:30-17:15 is overtime.
    const bool regular = weekday && start >= kRegularStart && end <= kRegularEnd;
    canvas.FilledBox(MinuteX(start), band.top, MinuteX(end), band.bottom,
                     regular ? kRegularBlue : kOvertimePink);
  }
}

void DrawRequestBars(const WorkingTables& tables, Canvas& canvas, int day, bool leave) {
  const Band band = leave ? LeaveBand(day) : BarBand(day);
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    const QString& label = tables.requestLabel.at(day).at(slot);
    if (label.isEmpty() || (leave ? !IsLeave(label) : !label.contains(kSelfStudy))) continue;
    const qint32 start = MinutesOfTime(tables.requestStart.at(day).at(slot));
    const qint32 end = MinutesOfTime(tables.requestEnd.at(day).at(slot));
    canvas.FilledBox(MinuteX(start), band.top, MinuteX(end), band.bottom,
                     leave ? kLeaveGrey : kSelfStudyYellow);
  }
}

}  // namespace

void DrawDayBars(const WorkingTables& tables, Canvas& canvas) {
  for (int day = kFirstDay; day <= kLastDay; ++day) {
    DrawBaseBars(tables, canvas, day);
    DrawRequestBars(tables, canvas, day, /*leave=*/false);
    DrawRequestBars(tables, canvas, day, /*leave=*/true);
  }
}

void DrawRequestTexts(const WorkingTables& tables, Canvas& canvas) {
  canvas.SetFont(kTextPoints, false);
  canvas.SetTextColor(kApprovedGrey);
  for (int day = kFirstDay; day <= kLastDay; ++day) {
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
      const QString& state = tables.requestState.at(day).at(slot);
      const QString& label = tables.requestLabel.at(day).at(slot);
      // An unknown state sets no style: the text keeps the style of the slot before it.
      QString text = label;
      if (state == kApproved) {
        canvas.SetFont(kTextPoints, false);
        canvas.SetTextColor(kApprovedGrey);
      } else if (state == kPending) {
        canvas.SetFont(kTextPoints, true);
        canvas.SetTextColor(kPendingGreen);
        text = kPendingMark + label;
      } else if (state == kRejected) {
        canvas.SetFont(kTextPoints, false);
        canvas.SetTextColor(kRejectedPurple);
        text = kRejectedMark + label;
      }
      if (text.isEmpty()) continue;  // an unused slot: nothing to print
      const qint32 start = MinutesOfTime(tables.requestStart.at(day).at(slot));
      canvas.SetTextPosition(MinuteX(start) + 2, RowTextY(day));
      canvas.Print(text);
    }
  }
}

}  // namespace morvik::chart
