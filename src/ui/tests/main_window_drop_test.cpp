#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "core/working_tables.h"
#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::TypeText;
using testing::WindowFixture;

const QString kTooManyFileNames = QStringLiteral(
    "入力ファイル名にスペースが含まれています.参照からファイルを再設定してください．");
const QString kOldRequest = QStringLiteral("/old/前の申請.csv");
const QString kOldStamp = QStringLiteral("/old/前の打刻.csv");

std::unique_ptr<QMimeData> FileDrag(const QStringList& files) {
  auto mime = std::make_unique<QMimeData>();
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  mime->setUrls(urls);
  // File managers offer the names as plain text too, which a text box would take as is.
  mime->setText(files.join(u'\n'));
  return mime;
}

// Drags `mime` onto the shown window at `point` (window coordinates) and drops it there,
// as the desktop delivers a drag: to the window, which finds the widget under the point.
// Returns whether the drag was accepted on entering.
bool DragAndDrop(MainWindow& window, const QMimeData& mime, QPoint point) {
  QWindow* handle = window.windowHandle();
  QDragEnterEvent enter(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(handle, &enter);
  const bool accepted = enter.isAccepted();
  QDropEvent drop(point, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(handle, &drop);
  return accepted;
}

struct DropCase {
  const char* what;
  QStringList files;
  QString request;
  QString stamp;
  bool message;
};

TEST(MainWindowDropTest, DroppedFilesGoIntoTheBoxesByTheNameRules) {
  const DropCase cases[] = {
      {"in order", {"/d/a申請.csv", "/d/b打刻.csv"}, "/d/a申請.csv", "/d/b打刻.csv", false},
      {"swapped", {"/d/b打刻.csv", "/d/a申請.csv"}, "/d/a申請.csv", "/d/b打刻.csv", false},
      {"history first",
       {"/d/history-2026.csv", "/d/a申請.csv"},
       "/d/a申請.csv",
       "/d/history-2026.csv",
       false},
      {"neutral names keep their order", {"/d/x.csv", "/d/y.csv"}, "/d/x.csv", "/d/y.csv", false},
      {"one stamp file", {"/My Data/b打刻.csv"}, kOldRequest, "/My Data/b打刻.csv", false},
      {"one history file", {"/d/history-1.csv"}, kOldRequest, "/d/history-1.csv", false},
      {"one request file", {"/d/a申請.csv"}, "/d/a申請.csv", kOldStamp, false},
      {"three files", {"/d/a申請.csv", "/d/b打刻.csv", "/d/c.csv"}, QString(), QString(), true},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.what);
    WindowFixture fixture;
    fixture.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
    auto* request = fixture.Find<QLineEdit>("requestFileField");
    auto* stamp = fixture.Find<QLineEdit>("stampFileField");
    TypeText(request, kOldRequest);
    TypeText(stamp, kOldStamp);

    // Dropped on the stamp box: the rules, not the box, decide where each name goes.
    const QPoint onStampBox = stamp->mapTo(fixture.window.get(), stamp->rect().center());
    EXPECT_TRUE(DragAndDrop(*fixture.window, *FileDrag(c.files), onStampBox));
    const QString expectedRequest = QDir::toNativeSeparators(c.request);
    const QString expectedStamp = QDir::toNativeSeparators(c.stamp);
    EXPECT_EQ(request->text(), expectedRequest);
    EXPECT_EQ(stamp->text(), expectedStamp);
    EXPECT_EQ(fixture.session.tables->requestCsvPath, expectedRequest);
    EXPECT_EQ(fixture.session.tables->stampCsvPath, expectedStamp);
    EXPECT_EQ(fixture.log.messages, c.message ? QStringList{kTooManyFileNames} : QStringList{});
  }
}

TEST(MainWindowDropTest, DragsOfAnythingButLocalFilesAreRefused) {
  WindowFixture fixture;
  fixture.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
  QMimeData text;
  text.setText(QStringLiteral("/d/a申請.csv"));
  QMimeData web;
  web.setUrls({QUrl(QStringLiteral("https://example.invalid/a申請.csv"))});
  QMimeData mixed;
  mixed.setUrls({QUrl::fromLocalFile(QStringLiteral("/d/a申請.csv")),
                 QUrl(QStringLiteral("https://example.invalid/b打刻.csv"))});
  for (const QMimeData* mime : {&text, &web, &mixed}) {
    EXPECT_FALSE(DragAndDrop(*fixture.window, *mime, QPoint(20, 200)));
  }
  EXPECT_TRUE(fixture.Find<QLineEdit>("requestFileField")->text().isEmpty());
  EXPECT_TRUE(fixture.Find<QLineEdit>("stampFileField")->text().isEmpty());
  EXPECT_TRUE(fixture.session.tables->requestCsvPath.isEmpty());
  EXPECT_TRUE(fixture.log.messages.isEmpty());
}

}  // namespace
}  // namespace morvik
