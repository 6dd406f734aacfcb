#pragma once
// The fields of the two review tables: one line per finding (乖離一覧) and one line per
// charted staff member (集計).

#include <QString>

#include <vector>

#include "review/month_findings.h"
#include "review/staff_month_record.h"

namespace morvik::review {

std::vector<QString> FindingsHeader();
std::vector<QString> SummaryHeader();

// One line of fields per finding, in the findings' order.
std::vector<std::vector<QString>> FindingLines(const StaffMonthRecord& record,
                                               const MonthFindings& findings);

std::vector<QString> SummaryLine(const StaffMonthRecord& record, const MonthFindings& findings);

// "" up to 45 hours of overtime, then "45h超", "80h超" and from 100 hours "100h以上".
QString OvertimeLevel(qint32 overtimeMinutes);

// The covered pieces that lie on `day`, cut to it: "08:30-17:15 17:15-20:00".
QString DayStretchesText(const std::vector<Stretch>& pieces, int day);

}  // namespace morvik::review
