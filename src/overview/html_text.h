#pragma once
// Text from the exports as it goes into the overview page: escaped wherever it lands in
// the HTML, and percent-encoded where it names a file the page links to.

#include <QString>
#include <QStringView>

namespace morvik::overview {

// `text` with & < > " ' written as character references: safe as element text and as
// a quoted attribute value.
QString EscapeHtml(QStringView text);

// A relative file path as a URL path: its UTF-8 bytes percent-encoded except letters,
// digits, "-._~" and the "/" between folders. Nothing in it reads as a scheme, a query
// or a fragment, so the link opens exactly the file of that name.
QString PercentEncodePath(const QString& relativePath);

}  // namespace morvik::overview
