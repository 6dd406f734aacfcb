#pragma once

#include <QImage>
#include <QString>

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

// Saves the canvas as BMP and/or JPG beside the work CSV (names from workCsvPath) in
// `outputFolder`. A failure shows the "(Error2)" message and returns normally.
void SaveChart(const WorkingTables& tables, const QString& outputFolder, const Canvas& canvas,
               Frontend& frontend);

// SaveChart in three steps, so that the encoding and writing can run on another thread
// while the run goes on: prepare (the image and the file names), write, finish (report).
struct ChartSave {
  QImage image;              // shares the canvas's pixels until the canvas draws again
  QString bmpPath;           // empty: no BMP
  QString jpgPath;           // empty: no JPG
  bool namesFailed = false;  // workCsvPath too short to make an image name
};

ChartSave PrepareChartSave(const WorkingTables& tables, const QString& outputFolder,
                           const Canvas& canvas);

// BMP first, then JPG; stops at the first failure. Safe on any thread. Returns what
// failed, the file and the system's reason; empty when every file was written.
QString WriteChartFiles(const ChartSave& save) noexcept;

// Repaints the chart window, or gives the "(Error2)" report and then `failure` when
// there is one.
void FinishChartSave(const QString& failure, Frontend& frontend);

}  // namespace morvik
