// Files dropped on MainWindow: the same name rules as the file names the program starts with.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include "app/session.h"
#include "app/startup.h"
#include "core/form_state.h"
#include "core/working_tables.h"
#include "ui/main_window.h"

namespace morvik {
namespace {

// The local files that a drag carries, in its order; none when it carries anything else.
QStringList DraggedFiles(const QMimeData* mime) {
  if (mime == nullptr || !mime->hasUrls()) return {};
  QStringList files;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    files << QDir::toNativeSeparators(url.toLocalFile());
  }
  return files;
}

}  // namespace

void MainWindow::setupDrops() {
  setAcceptDrops(true);
  // A file dropped on a box goes through the name rules as well, not into that box as
  // text: the boxes leave drops to the window.
  for (QLineEdit* field : findChildren<QLineEdit*>()) field->setAcceptDrops(false);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!running_ && !DraggedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (!running_ && !DraggedFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  // The window takes no input during a run; a drop is input.
  if (running_) return;
  const QStringList files = DraggedFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  TakeDroppedFiles(files);
}

void MainWindow::TakeDroppedFiles(const QStringList& files) {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  if (files.size() >= 3) {
    Apply([&] {
      SetRequestFile(form, tables, QString());
      SetStampFile(form, tables, QString());
      tables.requestCsvPath.clear();
      tables.stampCsvPath.clear();
    });
    frontend_->ShowMessage(kTooManyFileNames);
    return;
  }
  QString request = files.at(0);
  QString stamp = files.size() == 2 ? files.at(1) : QString();
  CorrectFileNameOrder(request, stamp);
  // A single file fills the one box that the rules give it; the other box keeps its name.
  Apply([&] {
    if (!request.isEmpty()) {
      SetRequestFile(form, tables, request);
      tables.requestCsvPath = request;
    }
    if (!stamp.isEmpty()) {
      SetStampFile(form, tables, stamp);
      tables.stampCsvPath = stamp;
    }
  });
}

}  // namespace morvik
