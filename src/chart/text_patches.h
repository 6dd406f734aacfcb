#pragma once
// Texts printed onto the month's layer where the chart has not drawn yet come out the
// same pixels for every staff member (the title, the run's clock, a department, the
// note under the bars in most months): the canvas keeps those pixels as patches and
// copies them back instead of blending every glyph again.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <map>
#include <tuple>

namespace morvik {

class TextPatches {
 public:
  // Everything the printed pixels depend on, the layer beneath included.
  struct Key {
    quint64 layer;
    QString text;
    int pixelSize;
    bool bold;
    QRgb colour;
    QPoint topLeft;
    bool operator<(const Key& other) const {
      return std::tuple(layer, text, pixelSize, bold, colour, topLeft.x(), topLeft.y()) <
             std::tuple(other.layer, other.text, other.pixelSize, other.bold, other.colour,
                        other.topLeft.x(), other.topLeft.y());
    }
  };

  // The area the text was printed over, as it stood afterwards; null when not kept.
  const QImage* Find(const Key& key) const;
  void Keep(const Key& key, QImage patch);

  // Copies `patch`, which covers `area`, into `image`.
  static void CopyInto(const QImage& patch, const QRect& area, QImage& image);

 private:
  static constexpr std::size_t kLimit = 64;  // the run's clock makes a new text each second
  std::map<Key, QImage> patches_;
};

}  // namespace morvik
