#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

#include "core/working_tables.h"
#include "ui/chart_window.h"
#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::TypeText;
using testing::WindowFixture;

// The text a control shows: a frame's title, else its text; a progress bar shows none.
QString Caption(const QWidget* widget) {
  if (qobject_cast<const QProgressBar*>(widget)) return QString();
  if (auto* frame = qobject_cast<const QGroupBox*>(widget)) return frame->title();
  return widget->property("text").toString();
}

struct ControlCase {
  const char* name;
  const char* className;
  const char* parent;
  QString caption;
  QRect pixels;  // left, top, width, height relative to the parent
};

TEST(MainWindowTest, EveryControlHasItsKindCaptionAndPlace) {
  WindowFixture fixture;
  const ControlCase cases[] = {
      {"titleLabel",
       "QLabel",
       "mainWindowClient",
       QStringLiteral("MorvikGraph　Ver1.1.1"),
       {136, 16, 329, 41}},
      {"personalLabel", "QLabel", "mainWindowClient", QStringLiteral("個人用"), {48, 120, 57, 17}},
      {"managersLabel",
       "QLabel",
       "mainWindowClient",
       QStringLiteral("管理者用"),
       {48, 280, 57, 17}},
      {"requestFrame",
       "QGroupBox",
       "mainWindowClient",
       QStringLiteral("申請ファイル名 (S-JIS)"),
       {112, 64, 465, 49}},
      {"requestFileField", "QLineEdit", "requestFrame", QString(), {8, 16, 393, 18}},
      {"browseRequestButton",
       "QPushButton",
       "requestFrame",
       QStringLiteral("参照..."),
       {408, 16, 49, 25}},
      {"stampFrame",
       "QGroupBox",
       "mainWindowClient",
       QStringLiteral("打刻ファイル名"),
       {112, 128, 465, 65}},
      {"stampFileField", "QLineEdit", "stampFrame", QString(), {8, 16, 393, 18}},
      {"browseStampButton",
       "QPushButton",
       "stampFrame",
       QStringLiteral("参照..."),
       {408, 16, 49, 25}},
      {"sjisOption",
       "QRadioButton",
       "stampFrame",
       QStringLiteral("S-JIS (個人用)"),
       {48, 40, 113, 17}},
      {"utf8Option",
       "QRadioButton",
       "stampFrame",
       QStringLiteral("UTF-8 (管理者用)"),
       {184, 40, 137, 17}},
      {"staffListFrame",
       "QGroupBox",
       "mainWindowClient",
       QStringLiteral("職員番号指定ファイル名"),
       {112, 224, 465, 65}},
      {"staffListFileField", "QLineEdit", "staffListFrame", QString(), {8, 16, 393, 18}},
      {"browseStaffListButton",
       "QPushButton",
       "staffListFrame",
       QStringLiteral("参照..."),
       {408, 16, 49, 25}},
      {"useStaffListBox",
       "QCheckBox",
       "staffListFrame",
       QStringLiteral("職員番号指定ファイルを使用する"),
       {8, 40, 201, 17}},
      {"monthFrame",
       "QGroupBox",
       "mainWindowClient",
       QStringLiteral("年月指定"),
       {112, 304, 465, 49}},
      {"fixMonthBox",
       "QCheckBox",
       "monthFrame",
       QStringLiteral("年月を指定する(yyyy/mm)"),
       {8, 16, 169, 17}},
      {"previousMonthButton", "QPushButton", "monthFrame", QStringLiteral("＜"), {192, 16, 25, 20}},
      {"monthField", "QLineEdit", "monthFrame", QStringLiteral("2022/01"), {224, 16, 65, 18}},
      {"nextMonthButton", "QPushButton", "monthFrame", QStringLiteral("＞"), {296, 16, 25, 20}},
      {"thisMonthButton", "QPushButton", "monthFrame", QStringLiteral("今月"), {352, 16, 41, 20}},
      {"jpgBox",
       "QCheckBox",
       "mainWindowClient",
       QStringLiteral("JPG形式で出力"),
       {72, 376, 105, 17}},
      {"bmpBox",
       "QCheckBox",
       "mainWindowClient",
       QStringLiteral("BMP形式で出力"),
       {192, 376, 105, 17}},
      {"workCsvBox",
       "QCheckBox",
       "mainWindowClient",
       QStringLiteral("勤務CSVを出力(年月_No_氏名.CSV)"),
       {320, 376, 217, 17}},
      {"staffBar", "QProgressBar", "mainWindowClient", QString(), {112, 400, 417, 17}},
      {"stepBar", "QProgressBar", "mainWindowClient", QString(), {112, 416, 417, 9}},
      {"runButton", "QPushButton", "mainWindowClient", QStringLiteral("実行"), {200, 432, 81, 33}},
      {"exitButton", "QPushButton", "mainWindowClient", QStringLiteral("終了"), {344, 432, 81, 33}},
      {"personalGroup", "QFrame", "mainWindowClient", QString(), {32, 56, 560, 144}},
      {"managersGroup", "QFrame", "mainWindowClient", QString(), {32, 216, 560, 144}},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    const QWidget* widget = fixture.Find<QWidget>(c.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), c.className);
    EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(c.parent));
    EXPECT_EQ(Caption(widget), c.caption);
    EXPECT_EQ(widget->geometry(), c.pixels);
  }
}

TEST(MainWindowTest, WindowHasItsCaptionClientSizeMenusAndStatusBar) {
  WindowFixture fixture;
  MainWindow& window = *fixture.window;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("MorvikGraph.exe"));
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  // 9375 × 7515 twips below the menu bar, the last 375 the status bar.
  EXPECT_EQ(window.width(), 625);
  EXPECT_EQ(window.height() - window.menuBar()->height(), 501);
  EXPECT_EQ(window.centralWidget()->geometry().height(), 476);
  EXPECT_EQ(window.statusBar()->objectName(), QStringLiteral("statusBar"));
  EXPECT_EQ(window.statusBar()->geometry(), QRect(0, window.menuBar()->height() + 476, 625, 25));

  QStringList menus;
  for (QAction* menu : window.menuBar()->actions()) {
    menus << menu->text();
    for (QAction* item : menu->menu()->actions()) menus << item->objectName() + "=" + item->text();
  }
  EXPECT_EQ(menus, (QStringList{QStringLiteral("ファイル(&F)"),
                                QStringLiteral("exitAction=終了(&X)"), QStringLiteral("出力(&O)"),
                                QStringLiteral("reviewAction=集計・乖離一覧を出力(CSV)"),
                                QStringLiteral("overviewPageAction=一覧ページ(HTML)を出力"),
                                QStringLiteral("printPdfAction=印刷用PDFを出力"),
                                QStringLiteral("ヘルプ(&H)"),
                                QStringLiteral("versionAction=バージョン")}));
}

TEST(MainWindowTest, TitleIsBoldJapaneseGothicAt21Point75) {
  WindowFixture fixture;
  const QLabel* title = fixture.Find<QLabel>("titleLabel");
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->font().pixelSize(), 29);  // 21.75 points at 96 dots per inch
  EXPECT_TRUE(title->alignment() & Qt::AlignHCenter);
  const QString family = QFontInfo(title->font()).family();
  EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
      << family.toStdString();
}

TEST(MainWindowTest, ControlsStartInThePersonalDefaults) {
  WindowFixture fixture;
  EXPECT_TRUE(fixture.Find<QRadioButton>("sjisOption")->isChecked());
  EXPECT_FALSE(fixture.Find<QRadioButton>("utf8Option")->isChecked());
  EXPECT_TRUE(fixture.Find<QCheckBox>("jpgBox")->isChecked());
  for (const char* name : {"useStaffListBox", "fixMonthBox", "bmpBox", "workCsvBox"}) {
    EXPECT_FALSE(fixture.Find<QCheckBox>(name)->isChecked()) << name;
  }
  for (const char* name : {"requestFileField", "stampFileField", "staffListFileField"}) {
    EXPECT_TRUE(fixture.Find<QLineEdit>(name)->text().isEmpty()) << name;
  }
  for (const char* name : {"stepBar", "staffBar"}) {
    EXPECT_TRUE(fixture.Find<QProgressBar>(name)->isHidden()) << name;
  }
  EXPECT_TRUE(fixture.Find<QLabel>("statusText")->text().isEmpty());
}

TEST(MainWindowTest, TabOrderFollowsTheTabIndexes) {
  WindowFixture fixture;
  const QStringList expected = {"runButton",
                                "exitButton",
                                "requestFileField",
                                "browseRequestButton",
                                "stampFileField",
                                "browseStampButton",
                                "sjisOption",
                                "utf8Option",
                                "staffListFileField",
                                "browseStaffListButton",
                                "useStaffListBox",
                                "fixMonthBox",
                                "previousMonthButton",
                                "monthField",
                                "nextMonthButton",
                                "thisMonthButton",
                                "jpgBox",
                                "bmpBox",
                                "workCsvBox"};
  QStringList chain;
  QWidget* widget = fixture.Find<QWidget>("runButton");
  do {
    if (expected.contains(widget->objectName())) chain << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != fixture.Find<QWidget>("runButton"));
  EXPECT_EQ(chain, expected);
}

void ClickBox(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

TEST(MainWindowTest, StaffListSwitchFillsTheDefaultPathAndSwitchesEncoding) {
  WindowFixture fixture;
  WorkingTables& tables = *fixture.session.tables;
  auto* check = fixture.Find<QCheckBox>("useStaffListBox");
  auto* field = fixture.Find<QLineEdit>("staffListFileField");
  auto* utf8 = fixture.Find<QRadioButton>("utf8Option");
  auto* sjis = fixture.Find<QRadioButton>("sjisOption");
  const QString defaultPath =
      fixture.session.programFolder + QStringLiteral("/MorvikGraph_職員番号指定.txt");

  ClickBox(check);
  EXPECT_TRUE(check->isChecked());
  EXPECT_EQ(field->text(), defaultPath);
  EXPECT_EQ(tables.staffListPath, defaultPath);
  EXPECT_TRUE(utf8->isChecked());
  EXPECT_FALSE(sjis->isChecked());
  EXPECT_EQ(tables.useStaffList, 1);
  EXPECT_EQ(tables.stampIsUtf8, 1);

  tables.staffList.at(1) = QStringLiteral("0042");  // read by an earlier run
  ClickBox(check);
  EXPECT_FALSE(check->isChecked());
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_TRUE(tables.staffListPath.isEmpty());
  EXPECT_TRUE(sjis->isChecked());
  EXPECT_FALSE(utf8->isChecked());
  EXPECT_EQ(tables.useStaffList, 0);
  EXPECT_EQ(tables.stampIsUtf8, 0);
  EXPECT_TRUE(tables.staffList.at(1).isEmpty());
}

TEST(MainWindowTest, ChoosingShiftJisKeepsTheStaffListInUse) {
  WindowFixture fixture;
  ClickBox(fixture.Find<QCheckBox>("useStaffListBox"));
  ClickBox(fixture.Find<QRadioButton>("sjisOption"));
  EXPECT_TRUE(fixture.Find<QCheckBox>("useStaffListBox")->isChecked());
  EXPECT_FALSE(fixture.Find<QLineEdit>("staffListFileField")->text().isEmpty());
  EXPECT_EQ(fixture.session.tables->useStaffList, 1);
  EXPECT_EQ(fixture.session.tables->stampIsUtf8, 0);
  ClickBox(fixture.Find<QRadioButton>("utf8Option"));
  EXPECT_EQ(fixture.session.tables->stampIsUtf8, 1);
}

TEST(MainWindowTest, MonthButtonsStepFromTheThirtyFirst) {
  WindowFixture fixture;  // today 2022/01/31
  struct Step {
    const char* button;
    const char* month;
  };
  const Step steps[] = {{"nextMonthButton", "2022/02"},     {"nextMonthButton", "2022/03"},
                        {"previousMonthButton", "2022/02"}, {"previousMonthButton", "2022/01"},
                        {"previousMonthButton", "2021/12"}, {"thisMonthButton", "2022/01"}};
  auto* text = fixture.Find<QLineEdit>("monthField");
  auto* check = fixture.Find<QCheckBox>("fixMonthBox");
  for (const Step& step : steps) {
    SCOPED_TRACE(step.button);
    QTest::mouseClick(fixture.Find<QPushButton>(step.button), Qt::LeftButton);
    EXPECT_EQ(text->text(), QString::fromLatin1(step.month));
    EXPECT_EQ(fixture.session.tables->targetMonthText, QString::fromLatin1(step.month));
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(fixture.session.tables->fixedMonth, 1);
  }
  // Unticking keeps the month shown but lets the files decide it again.
  ClickBox(check);
  EXPECT_EQ(text->text(), QStringLiteral("2022/01"));
  EXPECT_EQ(fixture.session.tables->fixedMonth, 0);
}

TEST(MainWindowTest, TypedMonthIsTakenWhenTheMonthBoxIsTicked) {
  WindowFixture fixture;
  auto* text = fixture.Find<QLineEdit>("monthField");
  text->clear();
  TypeText(text, QStringLiteral("2021/07"));
  ClickBox(fixture.Find<QCheckBox>("fixMonthBox"));
  EXPECT_EQ(fixture.session.tables->targetMonthText, QStringLiteral("2021/07"));
}

TEST(MainWindowTest, OutputBoxesSetTheirFlags) {
  WindowFixture fixture;
  WorkingTables& tables = *fixture.session.tables;
  ClickBox(fixture.Find<QCheckBox>("bmpBox"));
  ClickBox(fixture.Find<QCheckBox>("workCsvBox"));
  ClickBox(fixture.Find<QCheckBox>("jpgBox"));
  EXPECT_EQ(tables.saveBmp, 1);
  EXPECT_EQ(tables.writeWorkCsv, 1);
  EXPECT_EQ(tables.saveJpg, 0);
}

struct TypedFieldCase {
  const char* field;
  QString WorkingTables::*path;
};

TEST(MainWindowTest, TypedFileNamesReachTheirPathsAtOnce) {
  const TypedFieldCase cases[] = {
      {"requestFileField", &WorkingTables::requestCsvPath},
      {"stampFileField", &WorkingTables::stampCsvPath},
      {"staffListFileField", &WorkingTables::staffListPath},
  };
  for (const TypedFieldCase& c : cases) {
    SCOPED_TRACE(c.field);
    WindowFixture fixture;
    const WorkingTables& tables = *fixture.session.tables;
    auto* field = fixture.Find<QLineEdit>(c.field);
    TypeText(field, QStringLiteral("/d/x.csv"));
    EXPECT_EQ(tables.*c.path, QStringLiteral("/d/x.csv"));
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(tables.*c.path, QStringLiteral("/d/x.cs"));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_TRUE((tables.*c.path).isEmpty());
  }
}

TEST(MainWindowTest, TypedStaffListNameLeavesTheSwitchAloneUntilTicked) {
  WindowFixture fixture;
  const WorkingTables& tables = *fixture.session.tables;
  auto* check = fixture.Find<QCheckBox>("useStaffListBox");
  TypeText(fixture.Find<QLineEdit>("staffListFileField"), QStringLiteral("/d/list.txt"));
  EXPECT_FALSE(check->isChecked());
  EXPECT_TRUE(fixture.Find<QRadioButton>("sjisOption")->isChecked());
  EXPECT_EQ(tables.useStaffList, 0);
  ClickBox(check);
  EXPECT_EQ(fixture.Find<QLineEdit>("staffListFileField")->text(), QStringLiteral("/d/list.txt"));
  EXPECT_EQ(tables.staffListPath, QStringLiteral("/d/list.txt"));
  EXPECT_TRUE(fixture.Find<QRadioButton>("utf8Option")->isChecked());
}

// Emptying the staff list box while the list is in use is refused by Run, not run with
// the name the box showed before.
TEST(MainWindowTest, RunRefusesAnEmptiedStaffListBox) {
  WindowFixture fixture;
  TypeText(fixture.Find<QLineEdit>("stampFileField"), QStringLiteral("stamp.csv"));
  ClickBox(fixture.Find<QCheckBox>("useStaffListBox"));
  auto* field = fixture.Find<QLineEdit>("staffListFileField");
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
  EXPECT_EQ(
      fixture.log.messages,
      QStringList{QStringLiteral("エラー：「職員番号指定ファイル名」を正しく指定してください．")});
  EXPECT_TRUE(fixture.log.endStatuses.empty());
}

TEST(MainWindowTest, RunWithoutStampFileShowsItsMessageOnly) {
  WindowFixture fixture;
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
  EXPECT_EQ(fixture.log.messages,
            QStringList{QStringLiteral("エラー：「打刻ファイル名を正しく指定してください．")});
  EXPECT_TRUE(fixture.window->chartWindow().isHidden());
  EXPECT_TRUE(fixture.log.endStatuses.empty());
}

TEST(MainWindowTest, RunWithoutImageFormatTicksJpgAgain) {
  WindowFixture fixture;
  auto* jpg = fixture.Find<QCheckBox>("jpgBox");
  ClickBox(jpg);
  ASSERT_FALSE(jpg->isChecked());
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
  EXPECT_EQ(fixture.log.messages,
            QStringList{QStringLiteral(
                "注意：出力ファイル形式が選択されていませんのでJPG形式に変更します．")});
  EXPECT_TRUE(jpg->isChecked());
  EXPECT_EQ(fixture.session.tables->saveJpg, 1);
}

TEST(MainWindowTest, MissingStaffListFileEndsTheProgram) {
  WindowFixture fixture;
  TypeText(fixture.Find<QLineEdit>("stampFileField"), QStringLiteral("stamp.csv"));
  ClickBox(fixture.Find<QCheckBox>("useStaffListBox"));  // the default list is not there
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
  ASSERT_EQ(fixture.log.messages.size(), 1);
  EXPECT_EQ(fixture.log.endStatuses, std::vector<int>{3});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A whole run from the window over the personal sample exports: the month's chart is
// written, the displays are reset and the chart window closes.
TEST(MainWindowTest, RunOverTheSampleFilesWritesTheChartAndResetsTheDisplays) {
  const QString samples = QStringLiteral(MORVIK_SAMPLES_DIR "/personal/");
  WindowFixture fixture;
  fixture.window->show();
  // Typed names, not browsed ones: Run takes what the boxes show.
  TypeText(fixture.Find<QLineEdit>("requestFileField"),
           samples + QStringLiteral("2026_11_申請.csv"));
  TypeText(fixture.Find<QLineEdit>("stampFileField"), samples + QStringLiteral("2026_11_打刻.csv"));
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
  EXPECT_EQ(fixture.log.messages, QStringList{QStringLiteral("処理を終了しました．")});
  const QStringList charts =
      QDir(fixture.session.outputFolder).entryList({QStringLiteral("202611_*.jpg")}, QDir::Files);
  EXPECT_EQ(charts.size(), 1) << charts.join(' ').toStdString();
  EXPECT_FALSE(fixture.window->chartWindow().isVisible());
  EXPECT_TRUE(fixture.Find<QProgressBar>("stepBar")->isHidden());
  EXPECT_TRUE(fixture.Find<QProgressBar>("staffBar")->isHidden());
  EXPECT_TRUE(fixture.Find<QLabel>("statusText")->text().isEmpty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(fixture.log.endStatuses.empty());
}

struct BrowseCase {
  const char* button;
  const char* field;
  QString filters;
};

TEST(MainWindowTest, BrowseFillsTheFieldAndCancelLeavesIt) {
  const BrowseCase cases[] = {
      {"browseRequestButton", "requestFileField",
       QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*.*)")},
      {"browseStampButton", "stampFileField",
       QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*.*)")},
      {"browseStaffListButton", "staffListFileField",
       QStringLiteral("txt ファイル (*.txt);;すべてのファイル (*.*)")},
  };
  for (const BrowseCase& c : cases) {
    SCOPED_TRACE(c.button);
    WindowFixture fixture;
    auto* button = fixture.Find<QPushButton>(c.button);
    auto* field = fixture.Find<QLineEdit>(c.field);
    fixture.log.answers = {QStringLiteral("/data/chosen.csv"), QString()};
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(field->text(), QStringLiteral("/data/chosen.csv"));
    QTest::mouseClick(button, Qt::LeftButton);  // cancelled
    EXPECT_EQ(field->text(), QStringLiteral("/data/chosen.csv"));
    ASSERT_EQ(fixture.log.browses.size(), 2u);
    EXPECT_EQ(fixture.log.browses[0].first, fixture.session.programFolder);
    EXPECT_EQ(fixture.log.browses[0].second, c.filters);
  }
}

TEST(MainWindowTest, BrowsedPathsReachTheirMembers) {
  WindowFixture fixture;
  WorkingTables& tables = *fixture.session.tables;
  fixture.log.answers = {QStringLiteral("/d/a申請.csv"), QStringLiteral("/d/b打刻.csv"),
                         QStringLiteral("/d/list.txt")};
  QTest::mouseClick(fixture.Find<QPushButton>("browseRequestButton"), Qt::LeftButton);
  QTest::mouseClick(fixture.Find<QPushButton>("browseStampButton"), Qt::LeftButton);
  QTest::mouseClick(fixture.Find<QPushButton>("browseStaffListButton"), Qt::LeftButton);
  EXPECT_EQ(tables.requestCsvPath, QStringLiteral("/d/a申請.csv"));
  EXPECT_EQ(tables.stampCsvPath, QStringLiteral("/d/b打刻.csv"));
  EXPECT_EQ(tables.staffListPath, QStringLiteral("/d/list.txt"));
  // Choosing a staff list switches it on, and with it UTF-8 stamps.
  EXPECT_TRUE(fixture.Find<QCheckBox>("useStaffListBox")->isChecked());
  EXPECT_TRUE(fixture.Find<QRadioButton>("utf8Option")->isChecked());
  EXPECT_EQ(tables.useStaffList, 1);
  EXPECT_EQ(tables.stampIsUtf8, 1);
}

TEST(MainWindowTest, ExitMenuEndAndVersionReachTheirServices) {
  WindowFixture fixture;
  QTest::mouseClick(fixture.Find<QPushButton>("exitButton"), Qt::LeftButton);
  fixture.window->findChild<QAction*>(QStringLiteral("exitAction"))->trigger();
  EXPECT_EQ(fixture.log.endStatuses, (std::vector<int>{0, 0}));
  fixture.window->findChild<QAction*>(QStringLiteral("versionAction"))->trigger();
  EXPECT_EQ(fixture.log.aboutShown, 1);
}

}  // namespace
}  // namespace morvik
