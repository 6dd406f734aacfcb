#pragma once
// AboutWindow, the "バージョン" window: title, version, description and date of this release.

#include <QDialog>

namespace morvik {

class AboutWindow : public QDialog {
 public:
  explicit AboutWindow(QWidget* parent = nullptr);

 private:
  void setupTexts();
  void setupButton();
};

}  // namespace morvik
