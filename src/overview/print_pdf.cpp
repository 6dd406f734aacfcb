#include "overview/print_pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "chart/canvas.h"
#include "overview/summary_pages.h"

namespace morvik::overview {
namespace {

constexpr int kPointsPerInch = 72;   // the writer's unit is the point
constexpr double kMargin = 28;       // points, about 10 mm
constexpr double kLabelHeight = 22;  // the line above each page's content
constexpr double kLabelPoints = 10;

const QString kTitleSuffix = QStringLiteral(" 勤務表");

QFont LabelFont(bool bold) {
  QFont font = Canvas::TextFont();
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setPointSizeF(kLabelPoints);
  font.setBold(bold);
  return font;
}

struct PageFrame {
  QRectF label;    // the line that says what the page is
  QRectF content;  // below it
};

PageFrame Frame(const QRectF& page) {
  const QRectF inner = page.adjusted(kMargin, kMargin, -kMargin, -kMargin);
  return {QRectF(inner.left(), inner.top(), inner.width(), kLabelHeight),
          inner.adjusted(0, kLabelHeight, 0, 0)};
}

void DrawLabel(QPainter& painter, const QRectF& area, const QString& what, int page, int pages) {
  painter.save();
  painter.setPen(Qt::black);
  painter.setFont(LabelFont(true));
  painter.drawText(area, Qt::AlignLeft | Qt::AlignTop, what);
  painter.setFont(LabelFont(false));
  painter.drawText(area, Qt::AlignRight | Qt::AlignTop,
                   QStringLiteral("%1 / %2 ページ").arg(page).arg(pages));
  painter.restore();
}

QString ChartLabel(const QString& month, const OverviewRow& row) {
  return month + kTitleSuffix + QStringLiteral("　職員番号 ") + row.staffNo +
         QStringLiteral("　所属 ") + row.staffDept + QStringLiteral("　氏名 ") + row.staffName;
}

// The chart at the largest size that fits, centred across the page.
void DrawChartPage(QPainter& painter, const QRectF& area, const VectorChart& chart,
                   VectorChartPainter& chartPainter) {
  const double scale = std::min(area.width() / Canvas::kWidth, area.height() / Canvas::kHeight);
  const double left = area.left() + (area.width() - Canvas::kWidth * scale) / 2;
  painter.save();
  painter.translate(left, area.top());
  painter.scale(scale, scale);
  painter.setPen(QPen(QColor(160, 160, 160), 0));
  painter.drawRect(QRectF(0, 0, Canvas::kWidth, Canvas::kHeight));
  chartPainter.Paint(chart, painter);
  painter.restore();
}

// The writer stamps the file with the time of writing; the run's clock takes its place
// (in UTC, the shortest form, padded with blanks so no offset in the file moves).
void StampCreationDate(QByteArray& pdf, const QDateTime& now) {
  const QByteArray key = "/CreationDate (";
  const qsizetype from = pdf.indexOf(key);
  const qsizetype to = from < 0 ? -1 : pdf.indexOf(')', from);
  if (to < 0) return;
  const qsizetype length = to + 1 - from;
  QByteArray stamp =
      key + "D:" + now.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
  if (stamp.size() > length) return;
  stamp.append(QByteArray(length - stamp.size(), ' '));
  pdf.replace(from, length, stamp);
}

// The summary's pages; their count.
int DrawSummary(QPdfWriter& writer, QPainter& painter, const PageFrame& frame, const QString& month,
                std::span<const OverviewRow> rows, int chartCount) {
  const std::size_t perPage = SummaryLinesPerPage(frame.content) - 1;  // the heading repeats
  const int summaryPages =
      static_cast<int>(std::max<std::size_t>(1, (rows.size() + perPage - 1) / perPage));
  const int pages = summaryPages + chartCount;
  const auto chartPage = [&](const OverviewRow& row) { return summaryPages + row.runIndex + 1; };
  for (int page = 0; page < summaryPages; ++page) {
    if (page > 0) writer.newPage();
    DrawLabel(painter, frame.label, month + kTitleSuffix + QStringLiteral("　集計"), page + 1,
              pages);
    const std::size_t first = std::min(rows.size(), page * perPage);
    DrawSummaryPage(painter, frame.content,
                    rows.subspan(first, std::min(perPage, rows.size() - first)), chartPage);
  }
  return summaryPages;
}

void DrawCharts(QPdfWriter& writer, QPainter& painter, const PageFrame& frame, const QString& month,
                std::span<const OverviewRow> rows, std::span<const VectorChart> charts,
                int summaryPages) {
  std::vector<const OverviewRow*> byRun(charts.size(), nullptr);
  for (const OverviewRow& row : rows) {
    if (row.runIndex >= 0 && static_cast<std::size_t>(row.runIndex) < byRun.size()) {
      byRun[row.runIndex] = &row;
    }
  }
  const int pages = summaryPages + static_cast<int>(charts.size());
  VectorChartPainter chartPainter;
  for (std::size_t k = 0; k < charts.size(); ++k) {
    writer.newPage();
    const QString what = byRun[k] ? ChartLabel(month, *byRun[k]) : month + kTitleSuffix;
    DrawLabel(painter, frame.label, what, summaryPages + static_cast<int>(k) + 1, pages);
    DrawChartPage(painter, frame.content, charts[k], chartPainter);
  }
}

}  // namespace

QByteArray PrintPdf(const QString& month, const QDateTime& now, std::span<const OverviewRow> rows,
                    std::span<const VectorChart> charts) {
  QByteArray pdf;
  QBuffer buffer(&pdf);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kPointsPerInch);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
    writer.setTitle(month + kTitleSuffix);
    writer.setCreator(QStringLiteral("MorvikGraph"));
    QPainter painter(&writer);
    const PageFrame frame = Frame(QRectF(0, 0, writer.width(), writer.height()));
    const int summaryPages =
        DrawSummary(writer, painter, frame, month, rows, static_cast<int>(charts.size()));
    DrawCharts(writer, painter, frame, month, rows, charts, summaryPages);
  }
  buffer.close();
  StampCreationDate(pdf, now);
  return pdf;
}

}  // namespace morvik::overview
