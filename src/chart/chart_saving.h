#pragma once

#include <QString>

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

// Saves the canvas as BMP and/or JPG beside the work CSV (names from workCsvPath) in
// `outputFolder`. A failure shows the "(Error2)" message and returns normally.
void SaveChart(const WorkingTables& tables, const QString& outputFolder, const Canvas& canvas,
               Frontend& frontend);

}  // namespace morvik
