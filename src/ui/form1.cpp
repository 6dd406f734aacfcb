#include "ui/form1.h"

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
#include "ui/form2.h"
#include "ui/ui_metrics.h"

namespace morvik {
namespace {

using ui::TwipsRect;

const QString kCaption = QStringLiteral("MorvikGraph.exe");
const QString kMenuFile = QStringLiteral("ファイル(&F)");
const QString kMenuEnd = QStringLiteral("終了(&X)");
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

Form1::Form1(Session& session, WindowServices services)
    : session_(session),
      services_(CompleteServices(std::move(services))),
      form2_(std::make_unique<Form2>(session.canvas)) {
  setupWindow();
  setupMenus();
  setupStatusBar();
  setupTabOrder();
  bindFields();
  bindOptions();
  bindButtons();
  setupDrops();
  frontend_ = std::make_unique<QtFrontend>(
      FrontendWidgets{this, statusText_, ProgressBar1, ProgressBar2, form2_.get()},
      services_.showMessage);
  RefreshFromModel();
  setFixedSize(kClient.width(), menuBar()->sizeHint().height() + kClient.height());
  Cmd_Ok->setFocus();  // tab index 0
}

Form1::~Form1() = default;

void Form1::setupWindow() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(kCaption);
  setFont(ui::JapaneseFont(kControlPoints));
  setStyleSheet(kFrameStyle);
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Form1Client"));
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

void Form1::setupMenus() {
  QMenu* mnuFile = menuBar()->addMenu(kMenuFile);
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuEnd = mnuFile->addAction(kMenuEnd);
  mnuEnd->setObjectName(QStringLiteral("mnuEnd"));
  QMenu* mnuHelp = menuBar()->addMenu(kMenuHelp);
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuVer = mnuHelp->addAction(kMenuVer);
  mnuVer->setObjectName(QStringLiteral("mnuVer"));
}

void Form1::setupTitleAndGroups(QWidget* client) {
  auto* label1 = Place<QLabel>(client, "Label1", TwipsRect(2040, 240, 4935, 615), kTitle);
  label1->setAlignment(Qt::AlignCenter);
  label1->setFont(ui::JapaneseFont(kTitlePoints, true));
  PlaceRectangle(client, "PersonalGroup", 480, 840, 8880, 3000);
  PlaceRectangle(client, "ManagersGroup", 480, 3240, 8880, 5400);
  Place<QLabel>(client, "Label2", TwipsRect(720, 1800, 855, 255), kPersonal);
  Place<QLabel>(client, "Label3", TwipsRect(720, 4200, 855, 255), kManagers);
}

void Form1::setupRequestFrame(QWidget* client) {
  auto* frame = Place<QGroupBox>(client, "Frame1", TwipsRect(1680, 960, 6975, 735), kRequestFrame);
  Input_File = Place<QLineEdit>(frame, "Input_File", TwipsRect(120, 240, 5895, 270));
  Cmd_Open = Place<QPushButton>(frame, "Cmd_Open", TwipsRect(6120, 240, 735, 375), kBrowse);
}

void Form1::setupStampFrame(QWidget* client) {
  auto* frame = Place<QGroupBox>(client, "Frame2", TwipsRect(1680, 1920, 6975, 975), kStampFrame);
  Input_File2 = Place<QLineEdit>(frame, "Input_File2", TwipsRect(120, 240, 5895, 270));
  Cmd_Open2 = Place<QPushButton>(frame, "Cmd_Open2", TwipsRect(6120, 240, 735, 375), kBrowse);
  Option2 = Place<QRadioButton>(frame, "Option2", TwipsRect(720, 600, 1695, 255), kSjis);
  Option1 = Place<QRadioButton>(frame, "Option1", TwipsRect(2760, 600, 2055, 255), kUtf8);
}

void Form1::setupStaffListFrame(QWidget* client) {
  auto* frame =
      Place<QGroupBox>(client, "Frame3", TwipsRect(1680, 3360, 6975, 975), kStaffListFrame);
  Input_File1 = Place<QLineEdit>(frame, "Input_File1", TwipsRect(120, 240, 5895, 270));
  Cmd_Open1 = Place<QPushButton>(frame, "Cmd_Open1", TwipsRect(6120, 240, 735, 375), kBrowse);
  Check_sitei =
      Place<QCheckBox>(frame, "Check_sitei", TwipsRect(120, 600, 3015, 255), kUseStaffList);
}

void Form1::setupMonthFrame(QWidget* client) {
  auto* frame = Place<QGroupBox>(client, "Frame4", TwipsRect(1680, 4560, 6975, 735), kMonthFrame);
  Check_nengetu =
      Place<QCheckBox>(frame, "Check_nengetu", TwipsRect(120, 240, 2535, 255), kFixMonth);
  Command_mae = Place<QPushButton>(frame, "Command_mae", TwipsRect(2880, 240, 375, 300), kPrevious);
  Text_nengetu = Place<QLineEdit>(frame, "Text_nengetu", TwipsRect(3360, 240, 975, 270));
  Command_ato = Place<QPushButton>(frame, "Command_ato", TwipsRect(4440, 240, 375, 300), kNext);
  Command_now =
      Place<QPushButton>(frame, "Command_now", TwipsRect(5280, 240, 615, 300), kThisMonth);
}

void Form1::setupOutputChecks(QWidget* client) {
  Check_jpg = Place<QCheckBox>(client, "Check_jpg", TwipsRect(1080, 5640, 1575, 255), kJpg);
  Check_bmp = Place<QCheckBox>(client, "Check_bmp", TwipsRect(2880, 5640, 1575, 255), kBmp);
  Check1 = Place<QCheckBox>(client, "Check1", TwipsRect(4800, 5640, 3255, 255), kWorkCsv);
}

void Form1::setupRunControls(QWidget* client) {
  ProgressBar2 = PlaceProgressBar(client, "ProgressBar2", TwipsRect(1680, 6000, 6255, 255));
  ProgressBar1 = PlaceProgressBar(client, "ProgressBar1", TwipsRect(1680, 6240, 6255, 135));
  Cmd_Ok = Place<QPushButton>(client, "Cmd_Ok", TwipsRect(3000, 6480, 1215, 495), kRun);
  Cmd_No = Place<QPushButton>(client, "Cmd_No", TwipsRect(5160, 6480, 1215, 495), kExit);
}

void Form1::setupStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  bar->setFixedHeight(kStatusBar.height());
  // One line of simple text; a label keeps it, where hovering a menu would clear a message.
  statusText_ = new QLabel(bar);
  statusText_->setObjectName(QStringLiteral("StatusBar1Text"));
  bar->addWidget(statusText_, 1);
}

void Form1::setupTabOrder() {
  const QList<QWidget*> order = {Cmd_Ok,      Cmd_No,        Input_File,  Cmd_Open,     Input_File2,
                                 Cmd_Open2,   Option2,       Option1,     Input_File1,  Cmd_Open1,
                                 Check_sitei, Check_nengetu, Command_mae, Text_nengetu, Command_ato,
                                 Command_now, Check_jpg,     Check_bmp,   Check1};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace morvik
