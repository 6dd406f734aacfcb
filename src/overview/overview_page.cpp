#include "overview/overview_page.h"

#include <QCryptographicHash>

#include "overview/html_text.h"
#include "overview/page_assets.h"

namespace morvik::overview {
namespace {

const QString kClockFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");

struct Column {
  const char16_t* heading;
  const char* type;  // "num", "text", or nullptr: not sortable
};

// The columns of a staff row, in order.
constexpr Column kColumns[] = {
    {u"グラフ", nullptr},   {u"職員番号", "text"},    {u"氏名", "text"},
    {u"所属", "text"},      {u"拘束時間", "num"},     {u"実勤務", "num"},
    {u"休", "num"},         {u"時間外", "num"},       {u"時間外水準", "num"},
    {u"範囲外打刻", "num"}, {u"最大範囲外分", "num"}, {u"打刻なし日数", "num"},
    {u"承認待ち", "num"},   {u"却下", "num"},         {u"乖離", "num"},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

QString Cell(const QString& text) {
  return QStringLiteral("<td>") + EscapeHtml(text) + QStringLiteral("</td>");
}
QString NumberCell(const QString& text) {
  return QStringLiteral("<td class=\"num\">") + EscapeHtml(text) + QStringLiteral("</td>");
}
QString NumberCell(int value) { return NumberCell(QString::number(value)); }

QString ThumbnailCell(const OverviewRow& row) {
  if (row.imageFile.isEmpty()) return QStringLiteral("<td class=\"thumb empty\">なし</td>");
  const QString link = EscapeHtml(PercentEncodePath(row.imageFile));
  return QStringLiteral("<td class=\"thumb\"><a href=\"") + link +
         QStringLiteral("\" target=\"_blank\" rel=\"noopener\"><img src=\"") + link +
         QStringLiteral(
             "\" loading=\"lazy\" decoding=\"async\" width=\"128\" height=\"96\" "
             "alt=\"グラフ\"></a></td>");
}

QString LevelCell(const OverviewRow& row) {
  int level = 0;
  while (level + 1 < static_cast<int>(kOvertimeLevels.size()) &&
         kOvertimeLevels[level] != row.overtimeLevel) {
    ++level;
  }
  const QString sortKey = QString::number(row.overtimeMinutes);
  if (row.overtimeLevel.isEmpty())
    return QStringLiteral("<td data-sort=\"") + sortKey + QStringLiteral("\"></td>");
  return QStringLiteral("<td data-sort=\"") + sortKey +
         QStringLiteral("\"><span class=\"badge level-") + QString::number(level) +
         QStringLiteral("\">") + EscapeHtml(row.overtimeLevel) + QStringLiteral("</span></td>");
}

QString FindingsCell(const OverviewRow& row) {
  const QString count = QString::number(row.findings.size());
  if (row.findings.empty()) return QStringLiteral("<td class=\"num empty\" data-sort=\"0\">0</td>");
  return QStringLiteral("<td class=\"num\" data-sort=\"") + count +
         QStringLiteral("\"><button type=\"button\" class=\"toggle\" aria-expanded=\"false\">") +
         count + QStringLiteral("件</button></td>");
}

QString FindingsDetail(const OverviewRow& row) {
  QString html =
      QStringLiteral("<tr class=\"findings\" hidden><td colspan=\"") +
      QString::number(kColumnCount) +
      QStringLiteral(
          "\"><table class=\"finding-list\"><thead><tr><th>日付</th><th>曜日</th>"
          "<th>時刻</th><th>種別</th><th>分</th><th>その日の対象時間帯</th></tr></thead><tbody>");
  for (const FindingRow& f : row.findings) {
    html += QStringLiteral("<tr>") + Cell(f.date) + Cell(f.dayLabel) + Cell(f.time) + Cell(f.kind) +
            NumberCell(f.minutes) + Cell(f.stretches) + QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</tbody></table></td></tr>");
}

QString StaffGroup(const OverviewRow& row, int order) {
  QString html = QStringLiteral("<tbody data-order=\"") + QString::number(order) +
                 QStringLiteral("\"><tr class=\"main\">") + ThumbnailCell(row) + Cell(row.staffNo) +
                 Cell(row.staffName) + Cell(row.staffDept);
  for (const QString& total : row.totals) html += NumberCell(total);
  html += LevelCell(row) + NumberCell(row.stampsOutside) + NumberCell(row.largestOutside) +
          NumberCell(row.daysWithoutStamps) + NumberCell(row.waiting) + NumberCell(row.rejected) +
          FindingsCell(row) + QStringLiteral("</tr>");
  if (!row.findings.empty()) html += FindingsDetail(row);
  return html + QStringLiteral("</tbody>\n");
}

QString HeadingRow() {
  QString html = QStringLiteral("<thead><tr>");
  for (const Column& column : kColumns) {
    const QString heading = QString::fromUtf16(column.heading);
    if (column.type == nullptr) {
      html += QStringLiteral("<th class=\"plain\">") + heading + QStringLiteral("</th>");
    } else {
      html += QStringLiteral("<th data-type=\"") + QLatin1String(column.type) +
              QStringLiteral("\" aria-sort=\"none\" title=\"クリックで並べ替え\">") + heading +
              QStringLiteral("</th>");
    }
  }
  return html + QStringLiteral("</tr></thead>\n");
}

QString Counts(std::span<const OverviewRow> rows) {
  const RunCounts counts = CountRows(rows);
  const auto item = [](const QString& label, int count) -> QString {
    return QStringLiteral("<li>") + label + QStringLiteral(" <b>") + QString::number(count) +
           QStringLiteral("</b> 名</li>");
  };
  return QStringLiteral("<ul class=\"counts\">") + item(QStringLiteral("職員"), counts.staff) +
         item(QStringLiteral("乖離あり"), counts.withFindings) +
         item(QStringLiteral("時間外45h以下"), counts.atLevel[0]) +
         item(QStringLiteral("45h超"), counts.atLevel[1]) +
         item(QStringLiteral("80h超"), counts.atLevel[2]) +
         item(QStringLiteral("100h以上"), counts.atLevel[3]) + QStringLiteral("</ul>\n");
}

// Only the page's own script may run: even markup that slipped into the page could not.
QString SecurityPolicy() {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray(kPageScript), QCryptographicHash::Sha256);
  return QStringLiteral(
             "default-src 'none'; img-src 'self' file:; style-src 'unsafe-inline'; script-src "
             "'sha256-") +
         QString::fromLatin1(hash.toBase64()) +
         QStringLiteral("'; base-uri 'none'; form-action 'none'");
}

}  // namespace

QByteArray OverviewPage(const QString& month, const QDateTime& now,
                        std::span<const OverviewRow> rows) {
  const QString title = EscapeHtml(month) + QStringLiteral(" 勤務一覧");
  QString html = QStringLiteral(
                     "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<meta http-equiv=\"Content-Security-Policy\" content=\"") +
                 SecurityPolicy() + QStringLiteral("\">\n<title>") + title +
                 QStringLiteral("</title>\n<style>") + QString::fromUtf8(kPageStyle) +
                 QStringLiteral("</style>\n</head>\n<body>\n<h1>") + title +
                 QStringLiteral("</h1>\n<p class=\"run\">作成 ") +
                 EscapeHtml(now.toString(kClockFormat)) + QStringLiteral("</p>\n") + Counts(rows) +
                 QStringLiteral(
                     "<div class=\"controls\"><input id=\"filter\" type=\"search\" "
                     "placeholder=\"絞り込み（所属・氏名・職員番号）\" aria-label=\"絞り込み\">"
                     "<span id=\"shown\"></span></div>\n<table id=\"staff\" class=\"staff\">\n") +
                 HeadingRow();
  int order = 0;
  for (const OverviewRow& row : rows) html += StaffGroup(row, order++);
  html += QStringLiteral("</table>\n<script>") + QString::fromUtf8(kPageScript) +
          QStringLiteral("</script>\n</body>\n</html>\n");
  return html.toUtf8();
}

}  // namespace morvik::overview
