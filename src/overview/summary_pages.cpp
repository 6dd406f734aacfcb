#include "overview/summary_pages.h"

#include <QFontMetricsF>
#include <QPainter>

#include "chart/canvas.h"

namespace morvik::overview {
namespace {

constexpr double kLineHeight = 15;  // points
constexpr double kTextPoints = 8.5;
constexpr double kPadding = 3;

const QColor kHeadingFill(232, 236, 242);
const QColor kStripeFill(246, 247, 249);
const QColor kRuleColour(200, 200, 200);
const QColor kLevelFills[] = {QColor(), QColor(255, 224, 138), QColor(255, 159, 90),
                              QColor(240, 110, 110)};
constexpr std::size_t kLevelColumn = 8;

struct Column {
  const char16_t* heading;
  double width;  // points
  bool number;   // right-aligned
  QString (*text)(const OverviewRow&, int chartPage);
};

QString Number(int value) { return QString::number(value); }

const Column kColumns[] = {
    {u"頁", 28, true, [](const OverviewRow&, int page) { return Number(page); }},
    {u"職員番号", 52, false, [](const OverviewRow& r, int) { return r.staffNo; }},
    {u"氏名", 92, false, [](const OverviewRow& r, int) { return r.staffName; }},
    {u"所属", 92, false, [](const OverviewRow& r, int) { return r.staffDept; }},
    {u"拘束時間", 48, true, [](const OverviewRow& r, int) { return r.totals[0]; }},
    {u"実勤務", 44, true, [](const OverviewRow& r, int) { return r.totals[1]; }},
    {u"休", 36, true, [](const OverviewRow& r, int) { return r.totals[2]; }},
    {u"時間外", 44, true, [](const OverviewRow& r, int) { return r.totals[3]; }},
    {u"時間外水準", 56, false, [](const OverviewRow& r, int) { return r.overtimeLevel; }},
    {u"範囲外打刻", 52, true, [](const OverviewRow& r, int) { return Number(r.stampsOutside); }},
    {u"最大範囲外分", 60, true, [](const OverviewRow& r, int) { return Number(r.largestOutside); }},
    {u"打刻なし日数", 60, true,
     [](const OverviewRow& r, int) { return Number(r.daysWithoutStamps); }},
    {u"承認待ち", 44, true, [](const OverviewRow& r, int) { return Number(r.waiting); }},
    {u"却下", 30, true, [](const OverviewRow& r, int) { return Number(r.rejected); }},
    {u"乖離", 30, true,
     [](const OverviewRow& r, int) { return Number(static_cast<int>(r.findings.size())); }},
};

QFont TableFont(bool bold) {
  QFont font = Canvas::TextFont();
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setPointSizeF(kTextPoints);
  font.setBold(bold);
  return font;
}

int LevelOf(const QString& level) {
  for (int k = 1; k < static_cast<int>(kOvertimeLevels.size()); ++k) {
    if (kOvertimeLevels[k] == level) return k;
  }
  return 0;
}

// One line of cells; long texts are cut with an ellipsis to their column.
void DrawLine(QPainter& painter, double top, double left, const std::vector<QString>& cells,
              const OverviewRow* row) {
  const QFontMetricsF metrics(painter.font(), painter.device());
  double x = left;
  for (std::size_t k = 0; k < std::size(kColumns); ++k) {
    const Column& column = kColumns[k];
    const QRectF cell(x + kPadding, top, column.width - 2 * kPadding, kLineHeight);
    const int level = row != nullptr && k == kLevelColumn ? LevelOf(row->overtimeLevel) : 0;
    if (level > 0) {
      painter.fillRect(QRectF(x + 1, top + 2, column.width - 2, kLineHeight - 4),
                       kLevelFills[level]);
    }
    const QString text = metrics.elidedText(cells[k], Qt::ElideRight, cell.width());
    painter.drawText(cell, Qt::AlignVCenter | (column.number ? Qt::AlignRight : Qt::AlignLeft),
                     text);
    x += column.width;
  }
}

}  // namespace

int SummaryLinesPerPage(const QRectF& area) {
  return std::max(2, static_cast<int>(area.height() / kLineHeight));
}

void DrawSummaryPage(QPainter& painter, const QRectF& area, std::span<const OverviewRow> rows,
                     const std::function<int(const OverviewRow&)>& chartPage) {
  double width = 0;
  for (const Column& column : kColumns) width += column.width;
  const double left = area.left();
  painter.save();
  painter.fillRect(QRectF(left, area.top(), width, kLineHeight), kHeadingFill);
  painter.setPen(Qt::black);
  painter.setFont(TableFont(true));
  std::vector<QString> headings;
  for (const Column& column : kColumns) headings.push_back(QString::fromUtf16(column.heading));
  DrawLine(painter, area.top(), left, headings, nullptr);
  painter.setFont(TableFont(false));
  double top = area.top() + kLineHeight;
  for (std::size_t k = 0; k < rows.size(); ++k, top += kLineHeight) {
    const OverviewRow& row = rows[k];
    if (k % 2 == 1) painter.fillRect(QRectF(left, top, width, kLineHeight), kStripeFill);
    std::vector<QString> cells;
    for (const Column& column : kColumns) cells.push_back(column.text(row, chartPage(row)));
    DrawLine(painter, top, left, cells, &row);
  }
  painter.setPen(QPen(kRuleColour, 0.5));
  painter.drawLine(QPointF(left, top), QPointF(left + width, top));
  painter.restore();
}

}  // namespace morvik::overview
