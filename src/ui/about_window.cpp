#include "ui/about_window.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/ui_metrics.h"

namespace morvik {
namespace {

const QString kCaption = QStringLiteral("バージョン");
const QString kApplicationTitle = QStringLiteral("MorvikGraph");
const QString kVersionPrefix = QStringLiteral("ﾊﾞｰｼﾞｮﾝ ");
const QString kDescription = QStringLiteral(
    "勤怠管理Morvikの申請データと打刻データからグラフ化及びCSVファイルで出力できるアプリケーショ"
    "ンです．次の手順でドラッグ＆ドロップにも対応しています．まず打刻CSVファイルを左クリックで選択"
    "し、次にCTRLキーを押しながら申請CSVファイルを左クリックで選択したらCTRLキーを離します。次に、"
    "申請CSVファイル(打刻CSVファイルはNG)を左クリックしたままで、MorvikConv.exeにドラッグ＆ドロ"
    "ップすると入力ファイルが挿入されてアプリケーションが起動します。また、コマンドラインで、C:"
    "\\Users\\abc>MorvikConv.exe 申請.csv 打刻.csv　でも同様に入力ファイルが挿入されてアプリケー"
    "ションが起動します。");
const QString kSummary = QStringLiteral("勤怠データの月別グラフ作成ツール");
const QString kReleaseDate = QStringLiteral("2022.6.27");
const QString kOk = QStringLiteral("OK");
constexpr int kTextWidth = 400;  // pixels of the wrapped description

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

// Only major, minor and revision are shown: the release reads ﾊﾞｰｼﾞｮﾝ 1.1.1.
QString VersionText() {
  return kVersionPrefix + QStringLiteral("%1.%2.%3")
                              .arg(MORVIK_VERSION_MAJOR)
                              .arg(MORVIK_VERSION_MINOR)
                              .arg(MORVIK_VERSION_REVISION);
}

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutWindow"));
  setWindowTitle(kCaption);
  setFont(ui::JapaneseFont(9));
  setupTexts();
  setupButton();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutWindow::setupTexts() {
  auto* grid = new QGridLayout(this);
  auto* iconLabel = AddLabel(this, "iconLabel", QString());
  const QIcon icon =
      windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon) : windowIcon();
  iconLabel->setPixmap(icon.pixmap(32, 32));
  iconLabel->setAlignment(Qt::AlignTop);
  grid->addWidget(iconLabel, 0, 0, 5, 1);

  auto* titleLabel = AddLabel(this, "titleLabel", kApplicationTitle);
  titleLabel->setFont(ui::JapaneseFont(18, true));
  grid->addWidget(titleLabel, 0, 1);
  grid->addWidget(AddLabel(this, "versionLabel", VersionText()), 1, 1);
  auto* descriptionLabel = AddLabel(this, "descriptionLabel", kDescription);
  descriptionLabel->setWordWrap(true);
  descriptionLabel->setFixedWidth(kTextWidth);
  descriptionLabel->setMinimumHeight(descriptionLabel->heightForWidth(kTextWidth));
  grid->addWidget(descriptionLabel, 2, 1);
  grid->addWidget(AddLabel(this, "summaryLabel", kSummary), 3, 1);
  grid->addWidget(AddLabel(this, "releaseDateLabel", kReleaseDate), 4, 1);

  auto* line = new QFrame(this);
  line->setObjectName(QStringLiteral("separatorLine"));
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  grid->addWidget(line, 5, 0, 1, 2);
  grid->addWidget(AddLabel(this, "disclaimerLabel", QString()), 6, 0, 1, 2);
  grid->setColumnStretch(1, 1);
}

void AboutWindow::setupButton() {
  auto* okButton = new QPushButton(kOk, this);
  okButton->setObjectName(QStringLiteral("okButton"));
  okButton->setDefault(true);  // Enter; Esc closes a QDialog as a cancel button does
  okButton->setMinimumWidth(90);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(okButton);
  static_cast<QGridLayout*>(layout())->addLayout(row, 7, 0, 1, 2);
}

}  // namespace morvik
