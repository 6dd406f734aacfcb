#pragma once
// The pixels a canvas draws on, and the month's layer each chart starts from.
//
// A chart is drawn over the layer, handed out to be saved, and the next chart is drawn
// over the layer again. The image last handed out may still be being saved by then:
// drawing goes on in a buffer that no handed-out image shares any more, and only the
// tiles that buffer drew on since it last held the layer are copied back.

#include <QImage>
#include <QRect>
#include <QtGlobal>

#include <vector>

#include "chart/dirty_tiles.h"
#include "chart/image_origin.h"

namespace morvik {

class LayerBuffers {
 public:
  explicit LayerBuffers(QImage blank);

  QImage& image() { return image_; }
  const QImage& image() const { return image_; }

  // The image as it stands becomes the layer.
  void StoreLayer();
  // The image holds the layer again, in a buffer nobody else shares. Needs a layer.
  void RestoreLayer();
  // The image no longer holds the layer with marks (it was cleared, say).
  void LeaveLayer() { imageLayer_ = 0; }
  // True while the image is the current layer plus what was marked since.
  bool OnLayer() const { return imageLayer_ != 0 && imageLayer_ == layerNumber_; }
  // What is known of the image's pixels as they stand.
  ImageOrigin Origin() const;

  // Notes that the pixels of `area` may have changed.
  void MarkDrawn(const QRect& area) { dirty_.Mark(area); }

 private:
  // A buffer handed out that may still be in use, with what it holds.
  struct Retired {
    QImage image;
    DirtyTiles dirty;
    quint64 layer = 0;
  };
  static constexpr std::size_t kRetiredLimit = 8;

  void TakeFreeBuffer();

  QImage blank_;  // the size, format and resolution of every buffer
  QImage image_;
  DirtyTiles dirty_;        // what image_ drew since it held layer number imageLayer_
  quint64 imageLayer_ = 0;  // 0: no layer
  std::vector<Retired> retired_;
  QImage layer_;
  quint64 layerNumber_ = 0;  // names one layer's pixels, unique in the process
};

}  // namespace morvik
