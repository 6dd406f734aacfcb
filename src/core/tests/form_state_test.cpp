#include <gtest/gtest.h>

#include <memory>

#include "core/form_state.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kFolder = QStringLiteral("/opt/morvik");
const QString kDefaultList = QStringLiteral("/opt/morvik/MorvikGraph_職員番号指定.txt");

struct Model {
  Model() : tables(std::make_unique<WorkingTables>()) {}
  FormState form;
  std::unique_ptr<WorkingTables> tables;
};

struct StaffListCase {
  const char* what;
  bool tickedBefore;
  QString fieldBefore;
  bool tick;
  QString expectedField;
  qint16 expectedUse;
  qint16 expectedUtf8;
};

TEST(FormStateTest, StaffListSwitchKeepsFieldPathAndEncodingTogether) {
  const StaffListCase cases[] = {
      {"tick with an empty field", false, QString(), true, kDefaultList, 1, 1},
      {"tick with a chosen file", false, QStringLiteral("/d/list.txt"), true,
       QStringLiteral("/d/list.txt"), 1, 1},
      {"untick", true, QStringLiteral("/d/list.txt"), false, QString(), 0, 0},
  };
  for (const StaffListCase& c : cases) {
    SCOPED_TRACE(c.what);
    Model m;
    m.form.useStaffList = c.tickedBefore;
    m.form.staffListFile = c.fieldBefore;
    m.tables->staffList.at(0) = QStringLiteral("heading");
    m.tables->staffList.at(kStaffListEntries - 1) = QStringLiteral("0042");
    SetUseStaffList(m.form, *m.tables, kFolder, c.tick);
    EXPECT_EQ(m.form.useStaffList, c.tick);
    EXPECT_EQ(m.form.staffListFile, c.expectedField);
    EXPECT_EQ(m.tables->staffListPath, c.expectedField);
    EXPECT_EQ(m.tables->useStaffList, c.expectedUse);
    EXPECT_EQ(m.tables->stampIsUtf8, c.expectedUtf8);
    EXPECT_EQ(m.form.useUtf8Stamps, c.expectedUtf8 == 1);
    EXPECT_EQ(m.form.useSjisStamps, c.expectedUtf8 == 0);
    // Leaving the staff list forgets every entry read before, the last one too.
    EXPECT_EQ(m.tables->staffList.at(0).isEmpty(), !c.tick);
    EXPECT_EQ(m.tables->staffList.at(kStaffListEntries - 1).isEmpty(), !c.tick);
  }
}

TEST(FormStateTest, SettingTheSwitchToItsStateRunsNoHandler) {
  Model m;
  m.form.useStaffList = true;
  m.form.staffListFile = QStringLiteral("/d/list.txt");
  m.tables->staffListPath = QStringLiteral("/d/other.txt");
  SetUseStaffList(m.form, *m.tables, kFolder, true);
  EXPECT_EQ(m.tables->staffListPath, QStringLiteral("/d/other.txt"));
  EXPECT_EQ(m.tables->stampIsUtf8, 0);
}

TEST(FormStateTest, EncodingOptionsLeaveTheStaffListAlone) {
  Model m;
  SetUseStaffList(m.form, *m.tables, kFolder, true);
  OnSjisStampsClicked(m.form, *m.tables);
  EXPECT_TRUE(m.form.useSjisStamps);
  EXPECT_FALSE(m.form.useUtf8Stamps);
  EXPECT_EQ(m.tables->stampIsUtf8, 0);
  EXPECT_TRUE(m.form.useStaffList);
  EXPECT_EQ(m.tables->useStaffList, 1);
  EXPECT_EQ(m.tables->staffListPath, kDefaultList);
  OnUtf8StampsClicked(m.form, *m.tables);
  EXPECT_TRUE(m.form.useUtf8Stamps);
  EXPECT_FALSE(m.form.useSjisStamps);
  EXPECT_EQ(m.tables->stampIsUtf8, 1);
}

struct MonthCase {
  QDate start;
  QString buttons;  // "<" previous, ">" next, "n" this month
  QString expectedMonth;
  QDate expectedDate;
};

TEST(FormStateTest, MonthButtonsMoveTheTargetDateByCalendarMonths) {
  const QDate today(2022, 6, 15);
  const MonthCase cases[] = {
      {QDate(2022, 1, 31), ">", "2022/02", QDate(2022, 2, 28)},
      {QDate(2022, 1, 31), ">>", "2022/03", QDate(2022, 3, 28)},
      {QDate(2024, 3, 31), "<", "2024/02", QDate(2024, 2, 29)},
      {QDate(2022, 12, 10), ">", "2023/01", QDate(2023, 1, 10)},
      {QDate(2022, 1, 10), "<", "2021/12", QDate(2021, 12, 10)},
      {QDate(2021, 12, 10), "<<n", "2022/06", today},
  };
  for (const MonthCase& c : cases) {
    SCOPED_TRACE(c.buttons.toStdString() + " from " + c.start.toString().toStdString());
    Model m;
    m.tables->targetDate = c.start;
    m.form.monthText = QStringLiteral("2000/01");
    for (QChar button : c.buttons) {
      if (button == u'<') OnPreviousMonthClicked(m.form, *m.tables);
      if (button == u'>') OnNextMonthClicked(m.form, *m.tables);
      if (button == u'n') OnThisMonthClicked(m.form, *m.tables, today);
    }
    EXPECT_EQ(m.tables->targetDate, c.expectedDate);
    EXPECT_EQ(m.form.monthText, c.expectedMonth);
    EXPECT_EQ(m.tables->targetMonthText, c.expectedMonth);
    EXPECT_TRUE(m.form.fixMonth);
    EXPECT_EQ(m.tables->fixedMonth, 1);
  }
}

struct MonthBoxCase {
  const char* what;
  bool tick;
  QString textBefore;
  QString expectedText;
  QString expectedTarget;
  qint16 expectedFixed;
};

TEST(FormStateTest, MonthBoxTakesTheShownMonthOrTheTargetDate) {
  const MonthBoxCase cases[] = {
      {"tick with a typed month", true, "2021/07", "2021/07", "2021/07", 1},
      {"tick with an empty box", true, QString(), "2022/04", "2022/04", 1},
      {"untick keeps text and month", false, "2021/07", "2021/07", "2020/01", 0},
  };
  for (const MonthBoxCase& c : cases) {
    SCOPED_TRACE(c.what);
    Model m;
    m.tables->targetDate = QDate(2022, 4, 30);
    m.tables->targetMonthText = QStringLiteral("2020/01");
    m.tables->fixedMonth = c.tick ? 0 : 1;
    m.form.fixMonth = !c.tick;
    m.form.monthText = c.textBefore;
    SetFixMonth(m.form, *m.tables, c.tick);
    EXPECT_EQ(m.form.monthText, c.expectedText);
    EXPECT_EQ(m.tables->targetMonthText, c.expectedTarget);
    EXPECT_EQ(m.tables->fixedMonth, c.expectedFixed);
  }
}

TEST(FormStateTest, OutputBoxesSetTheirMembers) {
  Model m;
  m.form.writeWorkCsv = true;
  m.form.saveBmp = true;
  m.form.saveJpg = false;
  OnWorkCsvClicked(m.form, *m.tables);
  OnBmpClicked(m.form, *m.tables);
  OnJpgClicked(m.form, *m.tables);
  EXPECT_EQ(m.tables->writeWorkCsv, 1);
  EXPECT_EQ(m.tables->saveBmp, 1);
  EXPECT_EQ(m.tables->saveJpg, 0);
}

struct FieldCase {
  const char* what;
  void (*set)(FormState&, WorkingTables&, const QString&);
  QString FormState::*field;
  QString WorkingTables::*path;
};

const FieldCase kFieldCases[] = {
    {"request", SetRequestFile, &FormState::requestFile, &WorkingTables::requestCsvPath},
    {"stamp", SetStampFile, &FormState::stampFile, &WorkingTables::stampCsvPath},
    {"staff list", SetStaffListFile, &FormState::staffListFile, &WorkingTables::staffListPath},
};

TEST(FormStateTest, EveryChangeOfAFileFieldReachesItsPath) {
  for (const FieldCase& c : kFieldCases) {
    SCOPED_TRACE(c.what);
    Model m;
    (*m.tables).*c.path = QStringLiteral("/old/name.csv");
    c.set(m.form, *m.tables, QStringLiteral("/d/x 申請.csv"));
    EXPECT_EQ(m.form.*c.field, QStringLiteral("/d/x 申請.csv"));
    EXPECT_EQ((*m.tables).*c.path, QStringLiteral("/d/x 申請.csv"));
    c.set(m.form, *m.tables, QStringLiteral("/d/x"));
    EXPECT_EQ((*m.tables).*c.path, QStringLiteral("/d/x"));
    c.set(m.form, *m.tables, QString());
    EXPECT_TRUE(((*m.tables).*c.path).isEmpty());
    // Setting the text the field already shows is no change: nothing runs.
    (*m.tables).*c.path = QStringLiteral("/elsewhere.csv");
    c.set(m.form, *m.tables, QString());
    EXPECT_EQ((*m.tables).*c.path, QStringLiteral("/elsewhere.csv"));
  }
}

TEST(FormStateTest, TypedStaffListNameLeavesTheSwitchAndIsTakenWhenTicked) {
  Model m;
  SetStaffListFile(m.form, *m.tables, QStringLiteral("/d/list.txt"));
  EXPECT_FALSE(m.form.useStaffList);
  EXPECT_EQ(m.tables->useStaffList, 0);
  EXPECT_EQ(m.tables->stampIsUtf8, 0);
  EXPECT_TRUE(m.form.useSjisStamps);

  SetUseStaffList(m.form, *m.tables, kFolder, true);
  EXPECT_EQ(m.form.staffListFile, QStringLiteral("/d/list.txt"));
  EXPECT_EQ(m.tables->staffListPath, QStringLiteral("/d/list.txt"));
  EXPECT_EQ(m.tables->useStaffList, 1);

  // Editing the name while the list is in use keeps it in use with the new name.
  SetStaffListFile(m.form, *m.tables, QStringLiteral("/d/list2.txt"));
  EXPECT_TRUE(m.form.useStaffList);
  EXPECT_EQ(m.tables->staffListPath, QStringLiteral("/d/list2.txt"));
  EXPECT_EQ(m.tables->useStaffList, 1);

  // Emptying the field leaves the switch ticked; ticking anew would take the default.
  SetStaffListFile(m.form, *m.tables, QString());
  EXPECT_TRUE(m.form.useStaffList);
  EXPECT_TRUE(m.tables->staffListPath.isEmpty());
  SetUseStaffList(m.form, *m.tables, kFolder, false);
  SetUseStaffList(m.form, *m.tables, kFolder, true);
  EXPECT_EQ(m.form.staffListFile, kDefaultList);
  EXPECT_EQ(m.tables->staffListPath, kDefaultList);
}

struct BrowseCase {
  const char* what;
  void (*finish)(FormState&, WorkingTables&);
  QString FormState::*field;
  QString WorkingTables::*path;
};

TEST(FormStateTest, BrowsedNameGoesIntoTheFieldAndItsPath) {
  const BrowseCase cases[] = {
      {"request", FinishRequestBrowse, &FormState::requestFile, &WorkingTables::requestCsvPath},
      {"stamp", FinishStampBrowse, &FormState::stampFile, &WorkingTables::stampCsvPath},
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.what);
    Model m;
    m.form.dialogFileName = QStringLiteral("/d/x.csv");
    c.finish(m.form, *m.tables);
    EXPECT_EQ(m.form.*c.field, QStringLiteral("/d/x.csv"));
    EXPECT_EQ((*m.tables).*c.path, QStringLiteral("/d/x.csv"));
  }
}

TEST(FormStateTest, BrowsedStaffListSwitchesTheListOnWithUtf8) {
  struct Case {
    const char* what;
    bool tickedBefore;
    QString chosen;
    QString expectedPath;
  };
  const Case cases[] = {
      {"from personal use", false, QStringLiteral("/d/list.txt"), QStringLiteral("/d/list.txt")},
      {"already in use", true, QStringLiteral("/d/list.txt"), QStringLiteral("/d/list.txt")},
      // An empty name in the dialog leaves the default list to the switch.
      {"empty name", false, QString(), kDefaultList},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Model m;
    m.form.useStaffList = c.tickedBefore;
    m.form.dialogFileName = c.chosen;
    OnSjisStampsClicked(m.form, *m.tables);
    FinishStaffListBrowse(m.form, *m.tables, kFolder);
    EXPECT_EQ(m.form.staffListFile, c.expectedPath);
    EXPECT_EQ(m.tables->staffListPath, c.expectedPath);
    EXPECT_TRUE(m.form.useStaffList);
    EXPECT_EQ(m.tables->useStaffList, 1);
    EXPECT_TRUE(m.form.useUtf8Stamps);
    EXPECT_FALSE(m.form.useSjisStamps);
    EXPECT_EQ(m.tables->stampIsUtf8, 1);
  }
}

}  // namespace
}  // namespace morvik
