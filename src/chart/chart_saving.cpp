#include "chart/chart_saving.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

#include <exception>

#include "chart/cached_jpeg_writer.h"
#include "chart/canvas.h"
#include "chart/mcu_cache.h"
#include "core/failures.h"
#include "core/frontend.h"
#include "core/output_file.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kSaveFailed = QStringLiteral(
    "エラー：グラフの保存でエラーが発生しました．「SaveJPG.dll」が「MorvikGraph.exe」と同じ"
    "フォルダに存在しているか確認してください．(Error2)");

constexpr int kJpgQuality = 100;

const QString kNoImageName =
    QStringLiteral("no chart name: the output name is shorter than its extension");
const QString kUnknownFailure = QStringLiteral("the chart could not be saved");

// The work CSV's name with the image's extension in place of "csv"; the name holds at
// least those three characters.
QString ImagePath(const WorkingTables& tables, const QString& outputFolder,
                  const QString& extension) {
  return QDir(outputFolder).filePath(tables.workCsvPath.chopped(3) + extension);
}

// Encoded in memory first, so that only a complete image ever replaces the file.
QByteArray EncodeWithImageWriter(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  // Without an alpha channel both writers store 24 bits a pixel (the BMP uncompressed).
  if (!writer.write(image)) {
    throw RunFailure(QStringLiteral("cannot be encoded (%1)").arg(writer.errorString()));
  }
  return bytes;
}

// One image file, encoded in full before it replaces the file; a failure names the file.
template <typename Encode>
void WriteImageFile(const QString& path, const Encode& encode) {
  QByteArray bytes;
  try {
    bytes = encode();
  } catch (const std::exception& error) {
    throw RunFailure(path + QStringLiteral(": ") + FailureDetail(error));
  }
  WriteFileAtomically(path, bytes);
}

void ReportSaveFailure(Frontend& frontend) {
  frontend.SetBusy(false);
  frontend.SetStatusText(QString());
  frontend.SetProgressVisible(ProgressBar::kStep, false);
  frontend.ShowMessage(kSaveFailed);
}

}  // namespace

ChartSave PrepareChartSave(const WorkingTables& tables, const QString& outputFolder,
                           const Canvas& canvas) {
  ChartSave save;
  if (tables.saveBmp != 1 && tables.saveJpg != 1) return save;
  save.namesFailed = tables.workCsvPath.size() < 3;
  if (save.namesFailed) return save;
  save.image = canvas.image();
  save.origin = canvas.origin();
  if (tables.saveBmp == 1) save.bmpPath = ImagePath(tables, outputFolder, QStringLiteral("bmp"));
  if (tables.saveJpg == 1) save.jpgPath = ImagePath(tables, outputFolder, QStringLiteral("jpg"));
  return save;
}

std::unique_ptr<jpeg::McuCache> MakeRunJpegCache() {
  const QByteArray choice = qgetenv("MORVIK_JPEG_CACHE").trimmed().toLower();
  if (choice == "off" || choice == "0") return nullptr;
  return std::make_unique<jpeg::McuCache>();
}

QByteArray EncodeChartJpeg(const QImage& image, jpeg::McuCache* cache,
                           const ImageOrigin& origin) {
  if (cache != nullptr && jpeg::CanEncodeCached(image)) {
    return jpeg::EncodeJpegCached(image, *cache, origin);
  }
  return EncodeWithImageWriter(image, "jpg", kJpgQuality);
}

QString WriteChartFiles(const ChartSave& save, jpeg::McuCache* jpegCache) noexcept {
  try {
    if (save.namesFailed) return kNoImageName;
    if (!save.bmpPath.isEmpty()) {
      WriteImageFile(save.bmpPath, [&] { return EncodeWithImageWriter(save.image, "bmp", -1); });
    }
    if (!save.jpgPath.isEmpty()) {
      WriteImageFile(save.jpgPath, [&] { return EncodeChartJpeg(save.image, jpegCache, save.origin); });
    }
    return QString();
  } catch (const std::exception& error) {
    return FailureDetail(error);
  } catch (...) {
    return kUnknownFailure;
  }
}

void FinishChartSave(const QString& failure, Frontend& frontend) {
  if (failure.isEmpty()) {
    frontend.RefreshChartWindow();
  } else {
    // Whichever save failed, the user gets one message and the run goes on.
    ReportSaveFailure(frontend);
    frontend.ReportNotSaved(failure);
  }
}

void SaveChart(const WorkingTables& tables, const QString& outputFolder, const Canvas& canvas,
               Frontend& frontend) {
  FinishChartSave(WriteChartFiles(PrepareChartSave(tables, outputFolder, canvas)), frontend);
}

}  // namespace morvik
