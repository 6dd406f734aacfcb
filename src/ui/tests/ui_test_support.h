#pragma once
// A main window on a session whose program folder is a temporary folder with an empty
// holiday file, today fixed, and desktop services that record instead of blocking.

#include <QDateTime>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "app/session.h"
#include "ui/main_window.h"

namespace morvik::testing {

struct ServiceLog {
  QStringList messages;
  std::vector<std::pair<QString, QString>> browses;  // folder and filters of each dialog
  QStringList answers;                               // what the dialogs return, in order
  std::vector<int> endStatuses;
  int aboutShown = 0;
};

WindowServices RecordingServices(ServiceLog& log);

// Types `text` into `widget` key by key, Japanese characters too (QTest::keyClicks knows
// only the ASCII keys).
void TypeText(QWidget* widget, const QString& text);

class WindowFixture {
 public:
  // Today is `today`; start-up takes `arguments`; the holiday file exists unless told.
  explicit WindowFixture(const QStringList& arguments = {},
                         QDateTime today = QDateTime(QDate(2022, 1, 31), QTime(10, 0)),
                         bool holidayFile = true);

  Session session;
  ServiceLog log;
  std::unique_ptr<MainWindow> window;  // null when start-up ended the program

  template <class Widget>
  Widget* Find(const char* name) const {
    return window->findChild<Widget*>(QString::fromLatin1(name));
  }

 private:
  QTemporaryDir folder_;
};

}  // namespace morvik::testing
