#include "ui/ui_metrics.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

namespace morvik::ui {

QRect TwipsRect(int left, int top, int width, int height) {
  return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
               height / kTwipsPerPixel);
}

int PointsToPixels(double points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QString JapaneseGothicFace() {
  const QStringList installed = QFontDatabase::families();
  const QStringList preferred = {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                 QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                                 QStringLiteral("Noto Sans CJK JP")};
  for (const QString& face : preferred) {
    if (installed.contains(face, Qt::CaseInsensitive)) return face;
  }
  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  return japanese.isEmpty() ? QString() : japanese.first();
}

QFont JapaneseFont(double points, bool bold) {
  QFont font;
  const QString face = JapaneseGothicFace();
  if (!face.isEmpty()) font.setFamilies({face});
  font.setPixelSize(PointsToPixels(points));
  font.setBold(bold);
  return font;
}

}  // namespace morvik::ui
