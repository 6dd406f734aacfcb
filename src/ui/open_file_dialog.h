#pragma once
// The one open-file dialog of the main window's three "参照..." buttons.

#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

namespace morvik {

// Qt's own dialog (the same look everywhere, and it never moves the working directory),
// captioned "ファイルを開く", starting in `folder` with Qt `filters`, the first selected.
// Its sizes and dates read as on a Japanese desktop (2026/11/30 9:05) whatever the
// system's locale.
std::unique_ptr<QFileDialog> CreateOpenFileDialog(QWidget* parent, const QString& folder,
                                                  const QString& filters);

// Shows that dialog modally; returns the chosen file, or the empty text when cancelled.
QString ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filters);

}  // namespace morvik
