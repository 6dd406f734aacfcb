#pragma once
// WorkingTables: every table and scalar of one MorvikGraph session, in one record.
//
// All tables have a fixed size, allocated once with the record (create it with
// std::make_unique: it is about 22 MB). The sizes are the program's limits. Every cell
// is text; the empty text means "no value". Index ranges are inclusive and start at 0;
// code that computes an index from input data reaches the tables through .at(), so a
// bad index becomes a run failure instead of undefined behaviour.

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>

#include "core/platform/prefaulted_memory.h"

namespace morvik {

class Frontend;

inline constexpr int kRequestRows = 5001;     // row 0 header, rows 1..5000 requests
inline constexpr int kRequestColumns = 18;    // column 0 unused, 1..17 the CSV fields
inline constexpr int kStampRows = 50001;      // row 0 header, rows 1..50000 stamps
inline constexpr int kStampColumns = 16;      // column 0 unused, 1..15 the CSV fields
inline constexpr int kStaffListEntries = 5001;  // entry 0 heading, 1..5000 staff numbers
inline constexpr int kHolidayRows = 101;      // row 0 unused, rows 1..100 holidays
inline constexpr int kDays = 33;              // day 0, days 1..31, spill-over day 32
inline constexpr int kSlots = 11;             // slot 0 unused, slots 1..10
inline constexpr int kFirstDay = 1;
inline constexpr int kLastDay = kDays - 1;    // the spill-over day
inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = kSlots - 1;

using RequestRow = std::array<QString, kRequestColumns>;
using StampRow = std::array<QString, kStampColumns>;
using DaySlots = std::array<QString, kSlots>;
using SlotTable = std::array<DaySlots, kDays>;
using DayTable = std::array<QString, kDays>;

struct Holiday {
  QString date;  // yyyy/mm/dd as written in the holiday file
  QString name;
};

struct WorkingTables {
  // Some 20 MB, every byte written as the tables are made: their memory comes with its
  // pages present (2 MB pages where the system gives them), which spares a run a trap
  // into the system for every 4 KB of it.
  static void* operator new(std::size_t bytes) { return platform::AllocatePrefaulted(bytes); }
  static void operator delete(void* tables, std::size_t bytes) noexcept {
    platform::FreePrefaulted(tables, bytes);
  }

  // Options and file names, mirrored from the main window's controls.
  QString requestCsvPath;
  QString staffListPath;
  QString stampCsvPath;
  qint16 writeWorkCsv = 0;
  qint16 stampIsUtf8 = 0;
  qint16 saveJpg = 1;
  qint16 saveBmp = 0;
  qint16 useStaffList = 0;
  qint16 fixedMonth = 0;
  QString targetMonthText;  // yyyy/mm
  QDate targetDate;         // a day inside the target month

  // Input tables.
  std::array<RequestRow, kRequestRows> requestTable;
  qint16 requestRowCount = 0;
  std::array<QString, kStaffListEntries> staffList;
  std::array<StampRow, kStampRows> stampTable;
  qint32 stampRowCount = 0;
  qint32 stampStaffCount = 0;
  QString stampMonthPrefix;    // yyyy/mm/
  QString requestMonthPrefix;  // yyyy/mm/
  qint16 multipleMonths = 0;
  qint16 staffListed = 0;
  std::array<Holiday, kHolidayRows> holidayTable;

  // Key and results of LookupStampStaff.
  QString lookupKey;
  QString lookupStaffNo;
  QString lookupStaffName;
  QString lookupDate;
  QString lookupDept;

  // Run cursor and the staff member whose month the grid holds.
  RequestRow currentRequest;  // elements 1..17; element 0 never written
  QString groupStaffNo;
  QString staffNo;
  QString staffName;
  QString staffDept;
  QString workCsvPath;

  // Month grid of one staff member.
  DayTable dayLabel;
  DayTable dayStartDate;
  DayTable dayEndDate;
  SlotTable workStart;
  SlotTable workEnd;
  SlotTable requestLabel;
  SlotTable requestStart;
  SlotTable requestEnd;
  SlotTable requestState;
  qint32 regularMinutes = 0;
  qint32 netRegularMinutes = 0;
  qint32 overtimeMinutes = 0;
};

// Start of a run: empties the staff member, the counters and the whole month grid.
void ClearAllData(WorkingTables& tables, Frontend& frontend);

// Between two staff members: as ClearAllData, but dayLabel and groupStaffNo stay.
void ClearMonthData(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
