// The floor of a run: the time to encode N charts as 1024 x 768 JPEGs at quality 100 with
// the same image writer the program uses, from one produced chart.
// Usage: morvik_jpeg_floor CHART_IMAGE N [rgb888]
// The decoded chart is 32 bits a pixel; with "rgb888" it is first converted (outside the
// timing) to the 24-bit layout the program's canvas draws in, for comparison.
#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fputs("usage: morvik_jpeg_floor CHART_IMAGE N [rgb888]\n", stderr);
    return 2;
  }
  QImage chart = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  if (argc == 4) chart = chart.convertToFormat(QImage::Format_RGB888);
  const int count = std::atoi(argv[2]);
  if (chart.isNull() || count <= 0) return 2;
  QElapsedTimer timer;
  timer.start();
  qint64 bytes = 0;
  for (int i = 0; i < count; ++i) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(100);
    if (!writer.write(chart)) return 1;
    bytes += encoded.size();
  }
  const double seconds = timer.nsecsElapsed() / 1e9;
  std::printf("%.3f %lld\n", seconds, static_cast<long long>(bytes / count));
  return 0;
}
