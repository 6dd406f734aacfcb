#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/about_window.h"

namespace morvik {
namespace {

QString LabelText(const AboutWindow& about, const char* name) {
  const auto* label = about.findChild<QLabel*>(QString::fromLatin1(name));
  return label ? label->text() : QStringLiteral("<missing>");
}

TEST(AboutWindowTest, ShowsTitleVersionAndReleaseTexts) {
  AboutWindow about;
  EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン"));
  EXPECT_EQ(LabelText(about, "titleLabel"), QStringLiteral("MorvikGraph"));
  EXPECT_EQ(LabelText(about, "versionLabel"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.1.1"));
  EXPECT_EQ(LabelText(about, "releaseDateLabel"), QStringLiteral("2022.6.27"));
  EXPECT_TRUE(LabelText(about, "disclaimerLabel").isEmpty());
  EXPECT_FALSE(LabelText(about, "summaryLabel").isEmpty());
  const QString description = LabelText(about, "descriptionLabel");
  EXPECT_TRUE(description.startsWith(QStringLiteral("勤怠管理Morvikの申請データと")));
  EXPECT_TRUE(description.contains(
      QStringLiteral("C:\\Users\\abc>MorvikConv.exe 申請.csv 打刻.csv　でも同様に")));
  EXPECT_TRUE(description.endsWith(QStringLiteral("アプリケーションが起動します。")));
  EXPECT_TRUE(about.findChild<QLabel*>(QStringLiteral("descriptionLabel"))->wordWrap());
}

TEST(AboutWindowTest, OkIsTheDefaultAndEscapeCloses) {
  AboutWindow about;
  auto* ok = about.findChild<QPushButton*>(QStringLiteral("okButton"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_TRUE(ok->isDefault());
  about.show();
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(about.result(), QDialog::Accepted);
  EXPECT_FALSE(about.isVisible());
  about.show();
  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_EQ(about.result(), QDialog::Rejected);
  EXPECT_FALSE(about.isVisible());
}

}  // namespace
}  // namespace morvik
