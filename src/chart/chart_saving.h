#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

#include "chart/image_origin.h"

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;
namespace jpeg {
class McuCache;
}

// Saves the canvas as BMP and/or JPG beside the work CSV (names from workCsvPath) in
// `outputFolder`. A failure shows the "(Error2)" message and returns normally.
void SaveChart(const WorkingTables& tables, const QString& outputFolder, const Canvas& canvas,
               Frontend& frontend);

// SaveChart in three steps, so that the encoding and writing can run on another thread
// while the run goes on: prepare (the image and the file names), write, finish (report).
struct ChartSave {
  QImage image;              // shares the canvas's pixels until the canvas draws again
  ImageOrigin origin;        // of the image's pixels
  QString bmpPath;           // empty: no BMP
  QString jpgPath;           // empty: no JPG
  bool namesFailed = false;  // workCsvPath too short to make an image name
};

ChartSave PrepareChartSave(const WorkingTables& tables, const QString& outputFolder,
                           const Canvas& canvas);

// The cache of coded MCUs for one run's JPG files; none (null) when the environment has
// MORVIK_JPEG_CACHE=off (or 0), which leaves the files to Qt's image writer as before.
std::unique_ptr<jpeg::McuCache> MakeRunJpegCache();

// A chart's JPG file. With a cache, the cached writer writes the images it takes; Qt's
// image writer writes the others, and all without one. Either way, the same bytes.
// Throws RunFailure when the image cannot be encoded.
QByteArray EncodeChartJpeg(const QImage& image, jpeg::McuCache* cache,
                           const ImageOrigin& origin = {});

// BMP first, then JPG; stops at the first failure. Safe on any thread, and so is sharing
// the cache. Returns what failed, the file and the system's reason; empty when every file
// was written.
QString WriteChartFiles(const ChartSave& save, jpeg::McuCache* jpegCache = nullptr) noexcept;

// Repaints the chart window, or gives the "(Error2)" report and then `failure` when
// there is one.
void FinishChartSave(const QString& failure, Frontend& frontend);

}  // namespace morvik
