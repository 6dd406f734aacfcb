// A run holds the window's thread; the windows still repaint while it works, and the run
// says and writes exactly what the same run without a window does. Every run opens the
// chart window on a blank chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <vector>

#include "app/run_sequence.h"
#include "app/startup.h"
#include "testing/recording_frontend.h"
#include "ui/chart_window.h"
#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::TypeText;
using testing::WindowFixture;

const QString kSamples = QStringLiteral(MORVIK_SAMPLES_DIR "/managers/");
const QString kRequest = kSamples + QStringLiteral("2026_11_申請_全職員.csv");
const QString kStamp = kSamples + QStringLiteral("2026_11_打刻_全職員.csv");
const QString kStaffList = kSamples + QStringLiteral("MorvikGraph_職員番号指定.txt");
const QString kFinished = QStringLiteral("処理を終了しました．");
const QDateTime kNow(QDate(2026, 12, 2), QTime(8, 30));

// What each watched widget showed whenever it was painted.
class PaintLog : public QObject {
 public:
  void Watch(QWidget* widget) { widget->installEventFilter(this); }
  void Clear() { shown_.clear(); }
  const QStringList& Shown(const QWidget* widget) { return shown_[widget]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint) return false;
    QString state;
    if (auto* bar = qobject_cast<QProgressBar*>(watched)) state = QString::number(bar->value());
    if (auto* label = qobject_cast<QLabel*>(watched)) state = label->text();
    shown_[watched] << state;
    return false;
  }

 private:
  std::map<const QObject*, QStringList> shown_;
};

QStringList Distinct(const QStringList& list) {
  QStringList out;
  for (const QString& item : list) {
    if (!out.contains(item)) out << item;
  }
  return out;
}

// Whether `part` appears within `whole` in the same order.
bool IsSubsequence(const QStringList& part, const QStringList& whole) {
  qsizetype at = 0;
  for (const QString& item : part) {
    at = whole.indexOf(item, at);
    if (at < 0) return false;
    ++at;
  }
  return true;
}

QStringList Outputs(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.jpg"), QStringLiteral("*.csv")}, QDir::Files,
                                QDir::Name);
}

// The managers' sample run with no window: start-up's names, the staff list typed in.
testing::RecordingFrontend RunWithoutWindow(const QString& folder) {
  QFile(QDir(folder).filePath(QStringLiteral("MorvikGraph_祝日_max100.txt")))
      .open(QIODevice::WriteOnly);
  Session session;
  session.programFolder = folder;
  session.outputFolder = folder;
  session.enterProgramFolder = false;
  session.clock = [] { return kNow; };
  testing::RecordingFrontend frontend;
  PrepareSession(session, frontend, {kRequest, kStamp});
  SetStaffListFile(session.form, *session.tables, kStaffList);
  SetUseStaffList(session.form, *session.tables, folder, true);
  OnRunClicked(session, frontend);
  return frontend;
}

TEST(RunDisplayTest, WindowRepaintsDuringTheRunAndSaysWhatARunWithoutItSays) {
  WindowFixture fixture({}, kNow);
  MainWindow& window = *fixture.window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  TypeText(fixture.Find<QLineEdit>("requestFileField"), kRequest);
  TypeText(fixture.Find<QLineEdit>("stampFileField"), kStamp);
  TypeText(fixture.Find<QLineEdit>("staffListFileField"), kStaffList);
  auto* check = fixture.Find<QCheckBox>("useStaffListBox");
  QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));

  auto* staffBar = fixture.Find<QProgressBar>("staffBar");
  auto* stepBar = fixture.Find<QProgressBar>("stepBar");
  auto* status = fixture.Find<QLabel>("statusText");
  PaintLog paints;
  for (QWidget* widget :
       {static_cast<QWidget*>(staffBar), static_cast<QWidget*>(stepBar),
        static_cast<QWidget*>(status), static_cast<QWidget*>(&window.chartWindow())}) {
    paints.Watch(widget);
  }
  QTest::qWait(20);
  paints.Clear();
  QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);  // the whole run
  ASSERT_FALSE(fixture.log.messages.isEmpty());
  EXPECT_EQ(fixture.log.messages.last(), kFinished);

  // 30 staff members: the staff bar is seen moving, the step bar and the status line
  // change, and the chart window shows charts while they are drawn.
  EXPECT_GE(Distinct(paints.Shown(staffBar)).size(), 5)
      << paints.Shown(staffBar).join(' ').toStdString();
  EXPECT_GE(Distinct(paints.Shown(stepBar)).size(), 3);
  QStringList texts = Distinct(paints.Shown(status));
  texts.removeAll(QString());
  EXPECT_GE(texts.size(), 2);
  EXPECT_GE(paints.Shown(&window.chartWindow()).size(), 5);

  QTemporaryDir folder;
  const testing::RecordingFrontend reference = RunWithoutWindow(folder.path());
  EXPECT_EQ(fixture.log.messages, reference.messages);
  EXPECT_TRUE(IsSubsequence(texts, reference.statusHistory)) << texts.join('|').toStdString();
  const QStringList outputs = Outputs(fixture.session.outputFolder);
  EXPECT_GE(outputs.size(), 30);
  EXPECT_EQ(outputs, Outputs(folder.path()));
}

// What a widget shows at each moment it is shown.
class ShowLog : public QObject {
 public:
  void Watch(QWidget* widget) { widget->installEventFilter(this); }
  std::vector<QImage> shown;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show)
      shown.push_back(static_cast<QWidget*>(watched)->grab().toImage());
    return false;
  }
};

bool IsBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return false;
    }
  }
  return true;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Two runs in one window: the chart window opens blank for each, and the second run's
// chart is the first one's, byte for byte.
TEST(RunDisplayTest, EveryRunOpensTheChartWindowBlank) {
  const QString personal = QStringLiteral(MORVIK_SAMPLES_DIR "/personal/");
  WindowFixture fixture({}, kNow);
  fixture.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
  TypeText(fixture.Find<QLineEdit>("requestFileField"), personal + "2026_11_申請.csv");
  TypeText(fixture.Find<QLineEdit>("stampFileField"), personal + "2026_11_打刻.csv");
  ShowLog chart;
  chart.Watch(&fixture.window->chartWindow());
  const QDir out(fixture.session.outputFolder);
  QByteArray firstChart;
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
    ASSERT_EQ(fixture.log.messages.size(), run);
    EXPECT_EQ(fixture.log.messages.last(), kFinished);
    const QStringList charts = out.entryList({QStringLiteral("202611_*.jpg")});
    ASSERT_EQ(charts.size(), 1);
    const QByteArray bytes = ReadAll(out.filePath(charts.first()));
    ASSERT_FALSE(bytes.isEmpty());
    if (run == 1) firstChart = bytes;
    EXPECT_EQ(bytes, firstChart);
  }
  ASSERT_EQ(chart.shown.size(), 2u);
  for (const QImage& image : chart.shown) {
    EXPECT_EQ(image.size(), QSize(1024, 768));
    EXPECT_TRUE(IsBlank(image));
  }
}

// The output menu's items are check items of the model: ticked, a run in the window
// writes their files beside the chart; unticked again, it does not.
TEST(RunDisplayTest, OutputMenuItemsWriteTheirFiles) {
  const QString personal = QStringLiteral(MORVIK_SAMPLES_DIR "/personal/");
  WindowFixture fixture({}, kNow);
  TypeText(fixture.Find<QLineEdit>("requestFileField"), personal + "2026_11_申請.csv");
  TypeText(fixture.Find<QLineEdit>("stampFileField"), personal + "2026_11_打刻.csv");
  const struct {
    const char* action;
    bool FormState::*member;
    QStringList files;
  } items[] = {
      {"reviewAction", &FormState::writeReview, {"202611_乖離一覧.csv", "202611_集計.csv"}},
      {"overviewPageAction", &FormState::writeOverviewPage, {"202611_一覧.html"}},
      {"printPdfAction", &FormState::writePrintPdf, {"202611_勤務表.pdf"}},
  };
  const QDir out(fixture.session.outputFolder);
  for (const auto& item : items) {
    auto* action = fixture.window->findChild<QAction*>(QLatin1String(item.action));
    for (const bool ticked : {true, false}) {
      SCOPED_TRACE(std::string(item.action) + (ticked ? " ticked" : " unticked"));
      for (const QString& name : item.files) QFile::remove(out.filePath(name));
      action->trigger();
      EXPECT_EQ(action->isChecked(), ticked);
      EXPECT_EQ(fixture.session.form.*item.member, ticked);
      QTest::mouseClick(fixture.Find<QPushButton>("runButton"), Qt::LeftButton);
      ASSERT_EQ(fixture.log.messages.last(), kFinished);
      for (const QString& name : item.files) {
        EXPECT_EQ(out.exists(name), ticked) << name.toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace morvik
