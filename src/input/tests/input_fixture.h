#pragma once
// What the input tests share: a fresh record of tables, a recording front end, the
// window's model and a folder for the test files.

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

#include "core/form_state.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik::testing {

// The 17 fields of a request record as the export writes them, joined by commas.
inline QString RequestLine(const QString& staffNo, const QString& startDate,
                           const QString& startTime = QStringLiteral("17:15"),
                           const QString& endDate = QString(),
                           const QString& endTime = QStringLiteral("19:00"),
                           const QString& content = QStringLiteral("会議")) {
  const QString end = endDate.isNull() ? startDate : endDate;
  return QStringList{staffNo,
                     QStringLiteral("承認"),
                     QStringLiteral("1001"),
                     QStringLiteral("時間外申請"),
                     startDate,
                     QStringLiteral("内科"),
                     QStringLiteral("山田 太郎"),
                     startDate,
                     startTime,
                     end,
                     endTime,
                     content,
                     QStringLiteral("鈴木（承認）"),
                     QStringLiteral("2"),
                     QStringLiteral("0"),
                     QString(),
                     QString()}
      .join(u',');
}

// A stamp line: staff number, name, department, date and time in columns 1, 2, 3, 9
// and 10; the other columns hold their column number.
inline QString StampLine(const QString& staffNo, const QString& date, const QString& time,
                         const QString& name = QStringLiteral("山田 太郎")) {
  QStringList fields;
  for (int n = 1; n <= 15; ++n) fields << QStringLiteral("c%1").arg(n);
  fields[0] = staffNo;
  fields[1] = name;
  fields[2] = QStringLiteral("内科");
  fields[8] = date;
  fields[9] = time;
  return fields.join(u',');
}

inline QString StampHeader() {
  QStringList fields{QStringLiteral("社員番号"), QStringLiteral("氏名"), QStringLiteral("所属")};
  for (int n = 4; n <= 15; ++n) fields << QStringLiteral("h%1").arg(n);
  return fields.join(u',');
}

class InputTest : public ::testing::Test {
 protected:
  WorkingTables& t() { return *tables_; }

  std::unique_ptr<WorkingTables> tables_ = std::make_unique<WorkingTables>();
  RecordingFrontend frontend;
  FormState form;
  TempFolder folder;
};

}  // namespace morvik::testing
