#include "chart/tests/test_charts.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include "chart/chart_drawing.h"
#include "chart/stamp_index.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"

namespace morvik::testing {

std::unique_ptr<WorkingTables> Month(const QString& prefix, const QString& number, int seed) {
  auto t = std::make_unique<WorkingTables>();
  t->requestMonthPrefix = prefix;
  t->staffNo = number;
  t->staffName = QStringLiteral("職員 %1").arg(number);
  t->staffDept = QStringLiteral("内科");
  t->regularMinutes = 9600 + seed;
  t->netRegularMinutes = 9000 + seed;
  t->overtimeMinutes = 30 * seed;
  for (int d = 1; d <= 30; ++d) {
    t->dayLabel[d] = prefix.mid(5, 2) + QStringLiteral("/%1(%2)")
                                            .arg(d, 2, 10, QLatin1Char('0'))
                                            .arg(QStringLiteral("月火水木金土日")[(d + seed) % 7]);
    t->workStart[d][1] = QStringLiteral("08:30");
    t->workEnd[d][1] = QStringLiteral("17:15");
  }
  for (int d = 2 + seed % 3; d <= 30; d += 4) {
    t->workStart[d][2] = QStringLiteral("17:15");
    t->workEnd[d][2] = QStringLiteral("19:%1").arg(10 + seed, 2, 10, QLatin1Char('0'));
    t->requestLabel[d][1] = QStringLiteral("時間外 記録整理 %1").arg(d);
    t->requestStart[d][1] = t->workStart[d][2];
    t->requestEnd[d][1] = t->workEnd[d][2];
    t->requestState[d][1] = QStringLiteral("承認待ち");
  }
  t->stampRowCount = 3;
  const QString stamps[][4] = {{number, "x", prefix + "05", "08:20"},
                               {"other", "y", prefix + "05", "09:00"},
                               {number, "x", prefix + "06", "18:40"}};
  for (int i = 0; i < 3; ++i) {
    t->stampTable[i + 1][1] = stamps[i][0];
    t->stampTable[i + 1][2] = stamps[i][1];
    t->stampTable[i + 1][9] = stamps[i][2];
    t->stampTable[i + 1][10] = stamps[i][3];
  }
  return t;
}

QImage DrawOn(Canvas& canvas, const WorkingTables& tables) {
  testing::RecordingFrontend frontend;
  const QDateTime now(QDate(2026, 12, 1), QTime(9, 0));
  DrawChart(tables, StampIndex(tables), canvas, frontend, now);
  return canvas.image().copy();
}

void Apply(Canvas& canvas, const std::vector<Operation>& operations) {
  for (const Operation& o : operations) {
    switch (o.kind) {
      case Operation::Kind::kLine:
        canvas.SetLineStyle(o.style);
        canvas.Line(o.x1, o.y1, o.x2, o.y2, o.colour);
        break;
      case Operation::Kind::kBox:
        canvas.FilledBox(o.x1, o.y1, o.x2, o.y2, o.colour);
        break;
      case Operation::Kind::kText:
        canvas.SetFont(o.points, o.bold);
        canvas.SetTextColor(o.colour);
        canvas.SetTextPosition(o.x1, o.y1);
        canvas.Print(o.text);
        break;
    }
  }
}

// Texts whose glyphs may reach beyond their box: combining marks, fallback faces,
// right-to-left text, texts running off the surface.
const QString kTexts[] = {
    QStringLiteral("時間外 記録整理"),
    QStringLiteral("e\u0301\u0301\u0301 f\u0336"),
    QStringLiteral("😀🚑"),
    QStringLiteral("مرحبا بالعالم"),
    QStringLiteral("ｱｲｳ ＡＢＣ"),
    QString(200, QChar(u'＿')),
    QStringLiteral("\u0e01\u0e34\u0e4a"),
    QStringLiteral("Wj|gÅ"),
};

std::vector<Operation> RandomOperations(std::mt19937& random, int count) {
  std::uniform_real_distribution<float> x(-60, 1080), y(-60, 830);
  std::uniform_int_distribution<int> pick(0, 99), channel(0, 255);
  std::vector<Operation> operations;
  for (int i = 0; i < count; ++i) {
    Operation o{};
    const int kind = pick(random) % 3;
    o.kind = static_cast<Operation::Kind>(kind);
    o.x1 = x(random);
    o.y1 = y(random);
    // Boxes and lines mostly small, as bars and stamp marks are.
    o.x2 = o.x1 + x(random) / 8;
    o.y2 = o.y1 + (kind == 0 && pick(random) < 50 ? 0 : y(random) / 40);
    o.colour = QColor(channel(random), channel(random), channel(random));
    o.style = pick(random) < 50 ? LineStyle::kSolid : LineStyle::kDotted;
    o.points = pick(random) < 70 ? 9 : 18;
    o.bold = pick(random) < 30;
    o.text = kTexts[pick(random) % std::size(kTexts)];
    operations.push_back(o);
  }
  return operations;
}

// Texts every chart prints at the same place (a header, a note), at a random point among
// the chart's other operations, which may or may not have drawn under them by then.
std::vector<Operation> WithFixedTexts(std::vector<Operation> operations, std::mt19937& random) {
  using Kind = Operation::Kind;
  const Operation fixed[] = {
      {Kind::kText, 430, 30, 0, 0, Qt::black, LineStyle::kSolid, 18, true, kTexts[0]},
      {Kind::kText, 85, 728, 0, 0, Qt::black, LineStyle::kSolid, 9, false, kTexts[5]},
      {Kind::kText, 300, 300, 0, 0, QColor(128, 0, 128), LineStyle::kSolid, 9, false, kTexts[1]},
      {Kind::kText, 600, 500, 0, 0, Qt::darkGreen, LineStyle::kSolid, 9, true, kTexts[2]},
  };
  for (const Operation& text : fixed) {
    std::uniform_int_distribution<std::size_t> at(0, operations.size());
    operations.insert(operations.begin() + static_cast<std::ptrdiff_t>(at(random)), text);
  }
  return operations;
}

void DrawLayer(Canvas& canvas, const QString& key, const std::vector<Operation>& layer) {
  if (canvas.RestoreLayer(key)) return;
  canvas.Clear();
  Apply(canvas, layer);
  canvas.StoreLayer(key);
  ASSERT_TRUE(canvas.RestoreLayer(key));
}

}  // namespace morvik::testing
