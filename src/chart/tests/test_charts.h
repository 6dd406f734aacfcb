#pragma once
// Charts for the chart tests: months drawn end to end, and random drawing operations
// over layers, as a run draws them.

#include <QColor>
#include <QImage>
#include <QString>

#include <memory>
#include <random>
#include <vector>

#include "chart/canvas.h"

namespace morvik {
struct WorkingTables;
}

namespace morvik::testing {

// A month of `prefix` ("2026/11/") for staff member `number`, with some requests and
// stamps; `seed` varies the requests and totals.
std::unique_ptr<WorkingTables> Month(const QString& prefix, const QString& number, int seed);

// Draws the month's chart and returns a copy of it.
QImage DrawOn(Canvas& canvas, const WorkingTables& tables);

// One drawing operation, with all the state it needs, so that it draws the same on any
// canvas whatever was drawn before.
struct Operation {
  enum class Kind { kLine, kBox, kText } kind;
  float x1, y1, x2, y2;
  QColor colour;
  LineStyle style;
  double points;
  bool bold;
  QString text;
};

void Apply(Canvas& canvas, const std::vector<Operation>& operations);

// Boxes, lines and texts (some with glyphs that reach beyond their box) anywhere on the
// canvas and a little beyond.
std::vector<Operation> RandomOperations(std::mt19937& random, int count);

// `operations` with texts that every chart prints at the same place inserted at random.
std::vector<Operation> WithFixedTexts(std::vector<Operation> operations, std::mt19937& random);

// Restores the layer `key`, or draws and stores it first.
void DrawLayer(Canvas& canvas, const QString& key, const std::vector<Operation>& layer);

}  // namespace morvik::testing
