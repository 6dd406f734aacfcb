#pragma once
// frmAbout, the "バージョン" window: title, version, description and date of this release.

#include <QDialog>

namespace morvik {

class FrmAbout : public QDialog {
 public:
  explicit FrmAbout(QWidget* parent = nullptr);

 private:
  void setupTexts();
  void setupButton();
};

}  // namespace morvik
