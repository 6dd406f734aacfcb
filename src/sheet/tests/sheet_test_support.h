#pragma once
// Month grids for the sheet tests, and the grid read back as plain strings so that a
// failing comparison prints readable text.

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "core/working_tables.h"
#include "sheet/regular_work.h"
#include "testing/recording_frontend.h"

namespace morvik::testing {

// A month laid out as the run lays it before the first request of a staff member.
inline std::unique_ptr<WorkingTables> RegularMonth(const QString& monthPrefix) {
  auto tables = std::make_unique<WorkingTables>();
  RecordingFrontend frontend;
  tables->requestMonthPrefix = monthPrefix;
  SetRegularWork(*tables, frontend);
  tables->netRegularMinutes = tables->regularMinutes;
  return tables;
}

// Slots 1..10 of one day as "start-end" ("" for an empty slot), trailing empty slots
// left off.
inline std::vector<std::string> Periods(const WorkingTables& t, int day) {
  std::vector<std::string> periods;
  for (int s = 1; s < kSlots; ++s) {
    const QString& start = t.workStart.at(day).at(s);
    const QString& end = t.workEnd.at(day).at(s);
    periods.push_back(start.isEmpty() && end.isEmpty() ? "" : (start + u'-' + end).toStdString());
  }
  while (!periods.empty() && periods.back().empty()) periods.pop_back();
  return periods;
}

// Request entries of one day as "label|start|end|state", up to the first free slot.
inline std::vector<std::string> Entries(const WorkingTables& t, int day) {
  std::vector<std::string> entries;
  for (int s = 1; s < kSlots && !t.requestLabel.at(day).at(s).isEmpty(); ++s) {
    entries.push_back(QStringList({t.requestLabel.at(day).at(s), t.requestStart.at(day).at(s),
                                   t.requestEnd.at(day).at(s), t.requestState.at(day).at(s)})
                          .join(u'|')
                          .toStdString());
  }
  return entries;
}

inline void SetPeriods(WorkingTables& t, int day, const std::vector<QString>& startEnd) {
  for (std::size_t i = 0; i < startEnd.size(); ++i) {
    const QStringList parts = startEnd[i].split(u'-');
    t.workStart.at(day).at(i + 1) = parts.value(0);
    t.workEnd.at(day).at(i + 1) = parts.value(1);
  }
}

}  // namespace morvik::testing
