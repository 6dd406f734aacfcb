#include "chart/chart_saving.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>

#include <exception>

#include "chart/canvas.h"
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

// The work CSV's name with the image's extension in place of "csv".
QString ImagePath(const WorkingTables& tables, const QString& outputFolder,
                  const QString& extension) {
  const QString& csvPath = tables.workCsvPath;
  if (csvPath.size() < 3) {
    throw RunFailure(
        QStringLiteral("the work CSV name \"%1\" is too short for an image name").arg(csvPath));
  }
  return QDir(outputFolder).filePath(csvPath.chopped(3) + extension);
}

// Encodes in memory first, so that only a complete image ever replaces the file.
void WriteImage(const QImage& image, const QString& path, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  // 24 bits a pixel, uncompressed, for the BMP; JPEG has no alpha either.
  if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
    throw RunFailure(QStringLiteral("%1: cannot be encoded (%2)").arg(path, writer.errorString()));
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

void SaveChart(const WorkingTables& tables, const QString& outputFolder, const Canvas& canvas,
               Frontend& frontend) {
  try {
    if (tables.saveBmp == 1) {
      WriteImage(canvas.image(), ImagePath(tables, outputFolder, QStringLiteral("bmp")), "bmp", -1);
    }
    if (tables.saveJpg == 1) {
      WriteImage(canvas.image(), ImagePath(tables, outputFolder, QStringLiteral("jpg")), "jpg",
                 kJpgQuality);
    }
    frontend.RefreshChartWindow();
  } catch (const std::exception&) {
    // Whichever save failed, the user gets one message and the run goes on.
    ReportSaveFailure(frontend);
  }
}

}  // namespace morvik
