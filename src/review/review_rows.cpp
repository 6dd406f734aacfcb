#include "review/review_rows.h"

#include <algorithm>

#include "chart/chart_totals.h"
#include "core/text_rules.h"

namespace morvik::review {
namespace {

using chart::OneDecimal;

const QString kApproved = QStringLiteral("承認");
const QString kWaiting = QStringLiteral("承認待ち");
const QString kRejected = QStringLiteral("却下");

QString KindText(FindingKind kind) {
  switch (kind) {
    case FindingKind::kBeforeStart:
      return QStringLiteral("始業前");
    case FindingKind::kAfterEnd:
      return QStringLiteral("終業後");
    case FindingKind::kUnscheduled:
      return QStringLiteral("予定なし");
    case FindingKind::kNoStamps:
      return QStringLiteral("打刻なし");
  }
  return QString();
}

QChar Digit(int value) { return QChar(u'0' + value); }

// Two digits, zero-padded, of 0..99: findings run into the ten thousands, so no
// general formatting.
void AppendTwoDigits(QString& text, int value) {
  text += Digit(value / 10);
  text += Digit(value % 10);
}

// hh:mm of a minute of a day; the midnight ending the day is "24:00".
QString ClockText(int minuteOfDay) {
  QString text;
  text.reserve(5);
  AppendTwoDigits(text, minuteOfDay / 60);
  text += u':';
  AppendTwoDigits(text, minuteOfDay % 60);
  return text;
}

QString DateText(const StaffMonthRecord& record, int day) {
  QString text = record.monthPrefix;
  AppendTwoDigits(text, day);
  return text;
}

QString Hours(double minutes) { return OneDecimal(minutes / 60.0); }

struct RequestTotals {
  double approvedOvertimeHours = 0;
  int waiting = 0;
  int rejected = 0;
  int duties = 0;
  int selfStudyMinutes = 0;
};

RequestTotals TotalRequests(const StaffMonthRecord& record) {
  RequestTotals totals;
  for (const RequestFacts& request : record.requests) {
    if (request.state == kWaiting) ++totals.waiting;
    if (request.state == kRejected) ++totals.rejected;
    if (request.kind == RequestKind::kOvertime && request.state == kApproved) {
      totals.approvedOvertimeHours += WholeNumber(request.overtimeHours).value_or(0);
    }
    if (request.state == kRejected) continue;
    if (request.kind == RequestKind::kDuty) ++totals.duties;
    if (request.kind == RequestKind::kSelfStudy) {
      if (const auto stretch = RequestStretch(record, request)) {
        totals.selfStudyMinutes += stretch->end - stretch->start;
      }
    }
  }
  return totals;
}

}  // namespace

std::vector<QString> FindingsHeader() {
  return {QStringLiteral("職員番号"), QStringLiteral("氏名"), QStringLiteral("所属"),
          QStringLiteral("日付"),     QStringLiteral("曜日"), QStringLiteral("時刻"),
          QStringLiteral("種別"),     QStringLiteral("分"),   QStringLiteral("その日の対象時間帯")};
}

std::vector<QString> SummaryHeader() {
  return {QStringLiteral("職員番号"),     QStringLiteral("氏名"),
          QStringLiteral("所属"),         QStringLiteral("年月"),
          QStringLiteral("拘束時間"),     QStringLiteral("実勤務"),
          QStringLiteral("休"),           QStringLiteral("時間外"),
          QStringLiteral("時間外水準"),   QStringLiteral("承認済時間外"),
          QStringLiteral("承認待ち件数"), QStringLiteral("却下件数"),
          QStringLiteral("日当直件数"),   QStringLiteral("自己研鑽時間"),
          QStringLiteral("打刻数"),       QStringLiteral("除外打刻数"),
          QStringLiteral("範囲外打刻数"), QStringLiteral("最大範囲外分"),
          QStringLiteral("打刻なし日数")};
}

QString OvertimeLevel(qint32 overtimeMinutes) {
  if (overtimeMinutes >= 100 * 60) return QStringLiteral("100h以上");
  if (overtimeMinutes > 80 * 60) return QStringLiteral("80h超");
  if (overtimeMinutes > 45 * 60) return QStringLiteral("45h超");
  return QString();
}

QString DayStretchesText(const std::vector<Stretch>& pieces, int day) {
  const int dayStart = (day - 1) * kMinutesPerDay;
  const int dayEnd = dayStart + kMinutesPerDay;
  QStringList texts;
  for (const Stretch& piece : pieces) {
    const int start = std::max(piece.start, dayStart);
    const int end = std::min(piece.end, dayEnd);
    if (end <= start) continue;
    texts << ClockText(start - dayStart) + u'-' + ClockText(end - dayStart);
  }
  return texts.join(u' ');
}

std::vector<std::vector<QString>> FindingLines(const StaffMonthRecord& record,
                                               const MonthFindings& findings) {
  std::vector<std::vector<QString>> lines;
  int day = 0;
  QString date, stretches;  // of `day`, shared by its findings
  for (const Finding& f : findings.findings) {
    if (f.day != day) {
      day = f.day;
      date = DateText(record, day);
      stretches = DayStretchesText(findings.pieces, day);
    }
    lines.push_back({record.staffNo, record.staffName, record.staffDept, date,
                     record.dayLabels.at(day - 1), f.minute ? ClockText(*f.minute) : QString(),
                     KindText(f.kind), f.minutes ? QString::number(*f.minutes) : QString(),
                     stretches});
  }
  return lines;
}

std::vector<QString> SummaryLine(const StaffMonthRecord& record, const MonthFindings& findings) {
  const RequestTotals requests = TotalRequests(record);
  const double regularHours = record.regularMinutes / 60.0;
  const double netHours = record.netRegularMinutes / 60.0;
  return {record.staffNo,
          record.staffName,
          record.staffDept,
          record.MonthText(),
          OneDecimal(regularHours),
          OneDecimal(netHours),
          OneDecimal(regularHours - netHours),
          Hours(record.overtimeMinutes),
          OvertimeLevel(record.overtimeMinutes),
          OneDecimal(requests.approvedOvertimeHours),
          QString::number(requests.waiting),
          QString::number(requests.rejected),
          QString::number(requests.duties),
          Hours(requests.selfStudyMinutes),
          QString::number(findings.stampsCounted),
          QString::number(findings.stampsIgnored),
          QString::number(findings.stampsOutside),
          QString::number(findings.largestOutside),
          QString::number(findings.daysWithoutStamps)};
}

}  // namespace morvik::review
