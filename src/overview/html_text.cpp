#include "overview/html_text.h"

#include <QUrl>

#include <algorithm>

namespace morvik::overview {

QString EscapeHtml(QStringView text) {
  // Most texts hold nothing to escape: they are taken whole.
  const auto special = [](QChar c) {
    return c == u'&' || c == u'<' || c == u'>' || c == u'"' || c == u'\'';
  };
  if (std::none_of(text.begin(), text.end(), special)) return text.toString();
  QString escaped;
  escaped.reserve(text.size() + text.size() / 8);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case u'&':
        escaped += QStringLiteral("&amp;");
        break;
      case u'<':
        escaped += QStringLiteral("&lt;");
        break;
      case u'>':
        escaped += QStringLiteral("&gt;");
        break;
      case u'"':
        escaped += QStringLiteral("&quot;");
        break;
      case u'\'':
        escaped += QStringLiteral("&#39;");
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

QString PercentEncodePath(const QString& relativePath) {
  return QString::fromLatin1(QUrl::toPercentEncoding(relativePath, QByteArrayLiteral("/")));
}

}  // namespace morvik::overview
