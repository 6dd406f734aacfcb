#include "ui/main_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include "app/session.h"
#include "ui/chart_window.h"
#include "ui/ui_metrics.h"

namespace morvik {
namespace {

using ui::TwipsRect;

const QString kCaption = QStringLiteral("MorvikGraph.exe");
const QString kMenuFile = QStringLiteral("ファイル(&F)");
const QString kMenuEnd = QStringLiteral("終了(&X)");
const QString kMenuOutput = QStringLiteral("出力(&O)");
const QString kMenuReview = QStringLiteral("集計・乖離一覧を出力(CSV)");
const QString kMenuOverviewPage = QStringLiteral("一覧ページ(HTML)を出力");
const QString kMenuPrintPdf = QStringLiteral("印刷用PDFを出力");
const QString kMenuHelp = QStringLiteral("ヘルプ(&H)");
const QString kMenuVer = QStringLiteral("バージョン");
const QString kTitle = QStringLiteral("MorvikGraph　Ver1.1.1");
const QString kPersonal = QStringLiteral("個人用");
const QString kManagers = QStringLiteral("管理者用");
const QString kRequestFrame = QStringLiteral("申請ファイル名 (S-JIS)");
const QString kStampFrame = QStringLiteral("打刻ファイル名");
const QString kStaffListFrame = QStringLiteral("職員番号指定ファイル名");
const QString kMonthFrame = QStringLiteral("年月指定");
const QString kBrowse = QStringLiteral("参照...");
const QString kSjis = QStringLiteral("S-JIS (個人用)");
const QString kUtf8 = QStringLiteral("UTF-8 (管理者用)");
const QString kUseStaffList = QStringLiteral("職員番号指定ファイルを使用する");
const QString kFixMonth = QStringLiteral("年月を指定する(yyyy/mm)");
const QString kPrevious = QStringLiteral("＜");
const QString kNext = QStringLiteral("＞");
const QString kThisMonth = QStringLiteral("今月");
const QString kJpg = QStringLiteral("JPG形式で出力");
const QString kBmp = QStringLiteral("BMP形式で出力");
const QString kWorkCsv = QStringLiteral("勤務CSVを出力(年月_No_氏名.CSV)");
const QString kRun = QStringLiteral("実行");
const QString kExit = QStringLiteral("終了");

// The client area below the menu bar, in twips: 9375 × 7515, the status bar its last 375.
const QRect kClient = TwipsRect(0, 0, 9375, 7515);
const QRect kStatusBar = TwipsRect(0, 7140, 9375, 375);
// A frame's caption sits on its top line, so the controls placed 240 twips down clear it.
const QString kFrameStyle = QStringLiteral(
    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 7px; }"
    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }");
constexpr double kTitlePoints = 21.75;
constexpr double kControlPoints = 9;

// A control named `name` on `parent` at `geometry` (pixels, relative to the parent).
template <class Widget>
Widget* Place(QWidget* parent, const char* name, const QRect& geometry,
              const QString& text = QString()) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(geometry);
  if constexpr (requires { widget->setText(text); }) {
    if (!text.isEmpty()) widget->setText(text);
  } else if constexpr (requires { widget->setTitle(text); }) {
    widget->setTitle(text);
  }
  return widget;
}

// A rectangle of thin lines from (left, top) to (right, bottom) in twips.
void PlaceRectangle(QWidget* parent, const char* name, int left, int top, int right, int bottom) {
  auto* box = Place<QFrame>(parent, name, TwipsRect(left, top, right - left, bottom - top));
  box->setFrameStyle(QFrame::Box | QFrame::Plain);
  box->setLineWidth(1);
  box->lower();  // behind the frames it groups
}

QProgressBar* PlaceProgressBar(QWidget* parent, const char* name, const QRect& geometry) {
  auto* bar = Place<QProgressBar>(parent, name, geometry);
  bar->setTextVisible(false);
  bar->setVisible(false);
  return bar;
}

}  // namespace

MainWindow::MainWindow(Session& session, WindowServices services)
    : session_(session),
      services_(CompleteServices(std::move(services))),
      chartWindow_(std::make_unique<ChartWindow>(session.canvas)) {
  setupWindow();
  setupMenus();
  setupStatusBar();
  setupTabOrder();
  setupEnterKey();
  bindFields();
  bindOptions();
  bindButtons();
  setupDrops();
  frontend_ = std::make_unique<QtFrontend>(
      FrontendWidgets{this, statusText_, stepBar_, staffBar_, chartWindow_.get()},
      services_.showMessage);
  RefreshFromModel();
  setFixedSize(kClient.width(), menuBar()->sizeHint().height() + kClient.height());
  runButton_->setFocus();  // tab index 0
}

MainWindow::~MainWindow() = default;

void MainWindow::setupWindow() {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(kCaption);
  setFont(ui::JapaneseFont(kControlPoints));
  setStyleSheet(kFrameStyle);
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("mainWindowClient"));
  client->setFixedSize(kClient.width(), kStatusBar.top());
  setCentralWidget(client);
  setupTitleAndGroups(client);
  setupRequestFrame(client);
  setupStampFrame(client);
  setupStaffListFrame(client);
  setupMonthFrame(client);
  setupOutputChecks(client);
  setupRunControls(client);
}

void MainWindow::setupMenus() {
  QMenu* fileMenu = menuBar()->addMenu(kMenuFile);
  fileMenu->setObjectName(QStringLiteral("fileMenu"));
  exitAction_ = fileMenu->addAction(kMenuEnd);
  exitAction_->setObjectName(QStringLiteral("exitAction"));
  // Outputs beside the charts, for a manager's look over the whole month.
  QMenu* outputMenu = menuBar()->addMenu(kMenuOutput);
  outputMenu->setObjectName(QStringLiteral("outputMenu"));
  const auto addCheckItem = [outputMenu](const QString& text, const char* name) {
    QAction* item = outputMenu->addAction(text);
    item->setObjectName(QLatin1String(name));
    item->setCheckable(true);
    return item;
  };
  reviewAction_ = addCheckItem(kMenuReview, "reviewAction");
  overviewPageAction_ = addCheckItem(kMenuOverviewPage, "overviewPageAction");
  printPdfAction_ = addCheckItem(kMenuPrintPdf, "printPdfAction");
  QMenu* helpMenu = menuBar()->addMenu(kMenuHelp);
  helpMenu->setObjectName(QStringLiteral("helpMenu"));
  versionAction_ = helpMenu->addAction(kMenuVer);
  versionAction_->setObjectName(QStringLiteral("versionAction"));
}

void MainWindow::setupTitleAndGroups(QWidget* client) {
  auto* title = Place<QLabel>(client, "titleLabel", TwipsRect(2040, 240, 4935, 615), kTitle);
  title->setAlignment(Qt::AlignCenter);
  title->setFont(ui::JapaneseFont(kTitlePoints, true));
  PlaceRectangle(client, "personalGroup", 480, 840, 8880, 3000);
  PlaceRectangle(client, "managersGroup", 480, 3240, 8880, 5400);
  Place<QLabel>(client, "personalLabel", TwipsRect(720, 1800, 855, 255), kPersonal);
  Place<QLabel>(client, "managersLabel", TwipsRect(720, 4200, 855, 255), kManagers);
}

void MainWindow::setupRequestFrame(QWidget* client) {
  auto* frame =
      Place<QGroupBox>(client, "requestFrame", TwipsRect(1680, 960, 6975, 735), kRequestFrame);
  requestFileField_ = Place<QLineEdit>(frame, "requestFileField", TwipsRect(120, 240, 5895, 270));
  browseRequestButton_ =
      Place<QPushButton>(frame, "browseRequestButton", TwipsRect(6120, 240, 735, 375), kBrowse);
}

void MainWindow::setupStampFrame(QWidget* client) {
  auto* frame =
      Place<QGroupBox>(client, "stampFrame", TwipsRect(1680, 1920, 6975, 975), kStampFrame);
  stampFileField_ = Place<QLineEdit>(frame, "stampFileField", TwipsRect(120, 240, 5895, 270));
  browseStampButton_ =
      Place<QPushButton>(frame, "browseStampButton", TwipsRect(6120, 240, 735, 375), kBrowse);
  sjisOption_ = Place<QRadioButton>(frame, "sjisOption", TwipsRect(720, 600, 1695, 255), kSjis);
  utf8Option_ = Place<QRadioButton>(frame, "utf8Option", TwipsRect(2760, 600, 2055, 255), kUtf8);
}

void MainWindow::setupStaffListFrame(QWidget* client) {
  auto* frame =
      Place<QGroupBox>(client, "staffListFrame", TwipsRect(1680, 3360, 6975, 975), kStaffListFrame);
  staffListFileField_ =
      Place<QLineEdit>(frame, "staffListFileField", TwipsRect(120, 240, 5895, 270));
  browseStaffListButton_ =
      Place<QPushButton>(frame, "browseStaffListButton", TwipsRect(6120, 240, 735, 375), kBrowse);
  useStaffListBox_ =
      Place<QCheckBox>(frame, "useStaffListBox", TwipsRect(120, 600, 3015, 255), kUseStaffList);
}

void MainWindow::setupMonthFrame(QWidget* client) {
  auto* frame =
      Place<QGroupBox>(client, "monthFrame", TwipsRect(1680, 4560, 6975, 735), kMonthFrame);
  fixMonthBox_ = Place<QCheckBox>(frame, "fixMonthBox", TwipsRect(120, 240, 2535, 255), kFixMonth);
  previousMonthButton_ =
      Place<QPushButton>(frame, "previousMonthButton", TwipsRect(2880, 240, 375, 300), kPrevious);
  monthField_ = Place<QLineEdit>(frame, "monthField", TwipsRect(3360, 240, 975, 270));
  nextMonthButton_ =
      Place<QPushButton>(frame, "nextMonthButton", TwipsRect(4440, 240, 375, 300), kNext);
  thisMonthButton_ =
      Place<QPushButton>(frame, "thisMonthButton", TwipsRect(5280, 240, 615, 300), kThisMonth);
}

void MainWindow::setupOutputChecks(QWidget* client) {
  jpgBox_ = Place<QCheckBox>(client, "jpgBox", TwipsRect(1080, 5640, 1575, 255), kJpg);
  bmpBox_ = Place<QCheckBox>(client, "bmpBox", TwipsRect(2880, 5640, 1575, 255), kBmp);
  workCsvBox_ = Place<QCheckBox>(client, "workCsvBox", TwipsRect(4800, 5640, 3255, 255), kWorkCsv);
}

void MainWindow::setupRunControls(QWidget* client) {
  staffBar_ = PlaceProgressBar(client, "staffBar", TwipsRect(1680, 6000, 6255, 255));
  stepBar_ = PlaceProgressBar(client, "stepBar", TwipsRect(1680, 6240, 6255, 135));
  runButton_ = Place<QPushButton>(client, "runButton", TwipsRect(3000, 6480, 1215, 495), kRun);
  exitButton_ = Place<QPushButton>(client, "exitButton", TwipsRect(5160, 6480, 1215, 495), kExit);
}

void MainWindow::setupStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("statusBar"));
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(kStatusBar.height());
  // One line of simple text; a label keeps it, where hovering a menu would clear a message.
  statusText_ = new QLabel(bar);
  statusText_->setObjectName(QStringLiteral("statusText"));
  bar->addWidget(statusText_, 1);
}

void MainWindow::setupTabOrder() {
  const QList<QWidget*> order = {runButton_,
                                 exitButton_,
                                 requestFileField_,
                                 browseRequestButton_,
                                 stampFileField_,
                                 browseStampButton_,
                                 sjisOption_,
                                 utf8Option_,
                                 staffListFileField_,
                                 browseStaffListButton_,
                                 useStaffListBox_,
                                 fixMonthBox_,
                                 previousMonthButton_,
                                 monthField_,
                                 nextMonthButton_,
                                 thisMonthButton_,
                                 jpgBox_,
                                 bmpBox_,
                                 workCsvBox_};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void MainWindow::setupEnterKey() {
  // Enter presses the focused button, as in a Windows dialog; Qt does that by itself only
  // for the buttons of a QDialog.
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);
}

}  // namespace morvik
