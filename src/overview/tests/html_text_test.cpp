#include "overview/html_text.h"

#include <QUrl>

#include <gtest/gtest.h>

namespace morvik::overview {
namespace {

TEST(HtmlTextTest, EscapesEveryCharacterThatCanEndATextOrAnAttribute) {
  const struct {
    QString text, escaped;
  } cases[] = {
      {"", ""},
      {"山田　花子", "山田　花子"},
      {"<img src=x onerror=alert(1)>", "&lt;img src=x onerror=alert(1)&gt;"},
      {"&amp;", "&amp;amp;"},
      {"a\"b'c", "a&quot;b&#39;c"},
      {"#1 %41 x", "#1 %41 x"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeHtml(c.text), c.escaped) << c.text.toStdString();
}

TEST(HtmlTextTest, PercentEncodedPathsReadBackAsTheFileName) {
  const struct {
    QString path, encoded;
  } cases[] = {
      {"202611_a_1_b.jpg", "202611_a_1_b.jpg"},
      {"a b#c%d&e?f.jpg", "a%20b%23c%25d%26e%3Ff.jpg"},
      {"javascript:alert(1).jpg", "javascript%3Aalert%281%29.jpg"},
      {"sub/内科.jpg", "sub/%E5%86%85%E7%A7%91.jpg"},
      {"_img src=x onerror=alert(1)_ &amp;.jpg",
       "_img%20src%3Dx%20onerror%3Dalert%281%29_%20%26amp%3B.jpg"},
  };
  for (const auto& c : cases) {
    const QString encoded = PercentEncodePath(c.path);
    EXPECT_EQ(encoded, c.encoded) << c.path.toStdString();
    EXPECT_EQ(QUrl::fromPercentEncoding(encoded.toLatin1()), c.path) << c.path.toStdString();
    // Nothing that HTML or a URL would read as markup, a query or a fragment is left.
    for (const QChar special : QStringLiteral("<>\"'&#? :")) {
      EXPECT_FALSE(encoded.contains(special)) << c.path.toStdString();
    }
  }
}

}  // namespace
}  // namespace morvik::overview
