// Qt's own texts in the window are Japanese: the text boxes' menu and the open-file
// dialog, its date column included.
#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

#include <memory>

#include "testing/test_files.h"
#include "ui/open_file_dialog.h"
#include "ui/qt_translations.h"

namespace morvik {
namespace {

// A text with its accelerator ("(&U)", "&") and shortcut ("\tCtrl+Z") taken off: what is
// left of an English text is Latin letters.
bool ReadsJapanese(QString text) {
  text = text.section(u'\t', 0, 0);
  text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
  text.remove(u'&');
  return !text.isEmpty() && !text.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

class QtTextsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { installed_ = InstallQtJapanese(*QCoreApplication::instance()); }
  void SetUp() override { ASSERT_TRUE(installed_) << "qtbase_ja not found"; }

  static bool installed_;
};

bool QtTextsTest::installed_ = false;

TEST_F(QtTextsTest, TextBoxMenuIsJapanese) {
  QLineEdit field(QStringLiteral("2026/11"));
  const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
  int texts = 0;
  for (const QAction* action : menu->actions()) {
    if (action->isSeparator()) continue;
    EXPECT_TRUE(ReadsJapanese(action->text())) << action->text().toStdString();
    ++texts;
  }
  EXPECT_GE(texts, 6);  // undo, redo, cut, copy, paste, delete, select all
}

// The dialog's buttons, labels and column headings, and a file's size, type and date as a
// Japanese desktop writes them.
TEST_F(QtTextsTest, OpenFileDialogIsJapanese) {
  testing::TempFolder folder;
  const QString file = folder.WriteUtf8(QStringLiteral("2026_11_申請.csv"), QStringLiteral("x"));
  QFile stamp(file);
  ASSERT_TRUE(stamp.open(QIODevice::ReadWrite));
  ASSERT_TRUE(stamp.setFileTime(QDateTime(QDate(2026, 11, 30), QTime(9, 5)),
                                QFileDevice::FileModificationTime));
  stamp.close();

  const auto dialog = CreateOpenFileDialog(
      nullptr, folder.path(), QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*.*)"));
  dialog->show();
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("ファイルを開く"));
  EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("CSV ファイル (*.csv)"));
  for (const QAbstractButton* button :
       dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->buttons()) {
    EXPECT_TRUE(ReadsJapanese(button->text())) << button->text().toStdString();
  }
  for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
    const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
    ASSERT_NE(label, nullptr) << name;
    EXPECT_TRUE(ReadsJapanese(label->text())) << label->text().toStdString();
  }
  const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
  ASSERT_NE(view, nullptr);
  const QAbstractItemModel* shown = view->model();
  for (int column = 0; column < 4; ++column) {
    const QString heading = shown->headerData(column, Qt::Horizontal).toString();
    EXPECT_TRUE(ReadsJapanese(heading)) << heading.toStdString();
  }

  // The folder is read in the background.
  const auto* proxy = qobject_cast<const QAbstractProxyModel*>(shown);
  ASSERT_NE(proxy, nullptr);
  const auto* files = qobject_cast<const QFileSystemModel*>(proxy->sourceModel());
  ASSERT_NE(files, nullptr);
  for (int wait = 0; wait < 100 && !files->lastModified(files->index(file)).isValid(); ++wait) {
    QTest::qWait(20);
  }
  const auto cell = [&](int column) {
    return proxy->mapFromSource(files->index(file, column)).data().toString();
  };
  EXPECT_TRUE(ReadsJapanese(cell(1))) << cell(1).toStdString();  // 1 byte
  EXPECT_TRUE(cell(2).contains(QRegularExpression(QStringLiteral("[^\\x00-\\x7f]"))))
      << cell(2).toStdString();  // the file type, "CSV" and Japanese
  EXPECT_EQ(cell(3), QStringLiteral("2026/11/30 9:05"));
}

}  // namespace
}  // namespace morvik
