#pragma once
// Printed texts kept by the pixels they were printed over.
//
// A text printed at a whole-pixel position blends the same glyph coverage into whatever
// lies beneath, wherever that is: the same text in the same style over the same pixels
// comes out the same pixels anywhere on the chart. The request texts over the day bars,
// the title, the note, the department and the totals come back chart after chart over
// the same pixels; the canvas keeps what printing them gave and copies it back instead of
// blending every glyph again.
//
// A kept printing covers the text's ink area only: the pixels its glyphs cover at all,
// which no printing reaches beyond. It is found by a hash of the pixels beneath and used
// only when those pixels are all the same as when it was kept.

#include <QImage>
#include <QRect>
#include <QtGlobal>

#include <cstddef>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

class QFont;
class QStaticText;

namespace morvik {

class TextPatches {
 public:
  struct Key {
    quint64 text;        // names one laid-out text: its characters, pixel size and weight
    quint64 colour;      // QRgba64
    quint64 background;  // Hash() of the pixels beneath
    bool operator==(const Key&) const = default;
  };

  // What all kept printings may take together, beneath and printed pixels counted.
  static constexpr std::size_t kBudget = std::size_t{16} << 20;

  // The printed pixels kept for `key` over exactly `background`, or null.
  const uchar* Find(const Key& key, std::span<const uchar> background);
  // Keeps `printed`, what printing gave over `background` (as many bytes).
  void Keep(const Key& key, std::span<const uchar> background, std::span<const uchar> printed);
  std::size_t keptBytes() const { return recentBytes_ + olderBytes_; }

  static quint64 Hash(std::span<const uchar> pixels);
  // The pixels of `area` (inside `image`) row after row, into `pixels`.
  static void Read(const QImage& image, const QRect& area, std::vector<uchar>& pixels);
  // Writes `pixels`, as Read gives them, back into `area` of `image`.
  static void Write(const uchar* pixels, const QRect& area, QImage& image);

  // The pixels that printing `text` in `font` may change, relative to its top-left corner:
  // those its glyphs cover at all. Empty when it changes none; nothing when the glyphs
  // reach as far as a margin of the font's size around the laid-out box, so that where
  // they end is not known.
  static std::optional<QRect> InkOf(const QStaticText& text, const QFont& font);

 private:
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return key.background ^ (key.text * 0x9E3779B97F4A7C15ULL) ^
             (key.colour * 0xC2B2AE3D27D4EB4FULL);
    }
  };
  // The pixels beneath, then the printed pixels, as many of each.
  using Printings = std::unordered_map<Key, std::vector<uchar>, KeyHash>;

  // Null when `bytes` alone would take more than half the budget.
  const std::vector<uchar>* Store(const Key& key, std::vector<uchar> bytes);

  // Printings found or kept lately stay; when the recent ones fill half the budget, they
  // become the older ones and what was older is let go.
  Printings recent_;
  Printings older_;
  std::size_t recentBytes_ = 0;
  std::size_t olderBytes_ = 0;
};

}  // namespace morvik
