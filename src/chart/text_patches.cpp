#include "chart/text_patches.h"

#include <QFont>
#include <QPainter>
#include <QStaticText>

#include <xxhash.h>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace morvik {
namespace {

// A kept printing costs its bytes and about this much besides (node, key, vector).
constexpr std::size_t kEntryOverhead = 96;

bool SameBeneath(const std::vector<uchar>& kept, std::span<const uchar> background) {
  return kept.size() == 2 * background.size() &&
         std::memcmp(kept.data(), background.data(), background.size()) == 0;
}

}  // namespace

const uchar* TextPatches::Find(const Key& key, std::span<const uchar> background) {
  if (const auto found = recent_.find(key); found != recent_.end()) {
    return SameBeneath(found->second, background) ? found->second.data() + background.size()
                                                  : nullptr;
  }
  const auto found = older_.find(key);
  if (found == older_.end() || !SameBeneath(found->second, background)) return nullptr;
  // Used again: it moves among the recent ones, so that it outlives the older ones.
  std::vector<uchar> bytes = std::move(found->second);
  older_.erase(found);
  olderBytes_ -= bytes.size() + kEntryOverhead;
  return Store(key, std::move(bytes))->data() + background.size();
}

void TextPatches::Keep(const Key& key, std::span<const uchar> background,
                       std::span<const uchar> printed) {
  std::vector<uchar> bytes;
  bytes.reserve(background.size() + printed.size());
  bytes.insert(bytes.end(), background.begin(), background.end());
  bytes.insert(bytes.end(), printed.begin(), printed.end());
  Store(key, std::move(bytes));
}

const std::vector<uchar>* TextPatches::Store(const Key& key, std::vector<uchar> bytes) {
  const std::size_t cost = bytes.size() + kEntryOverhead;
  if (cost > kBudget / 2) return nullptr;
  if (recentBytes_ + cost > kBudget / 2) {
    older_ = std::move(recent_);
    olderBytes_ = recentBytes_;
    recent_ = Printings();
    recentBytes_ = 0;
  }
  const auto [at, added] = recent_.try_emplace(key);
  if (!added) recentBytes_ -= at->second.size() + kEntryOverhead;  // another beneath, same hash
  at->second = std::move(bytes);
  recentBytes_ += cost;
  return &at->second;
}

quint64 TextPatches::Hash(std::span<const uchar> pixels) {
  return XXH3_64bits(pixels.data(), pixels.size());
}

void TextPatches::Read(const QImage& image, const QRect& area, std::vector<uchar>& pixels) {
  const std::size_t rowBytes = std::size_t(area.width()) * (image.depth() / 8);
  const uchar* from =
      image.constScanLine(area.top()) + std::size_t(area.left()) * (image.depth() / 8);
  pixels.resize(rowBytes * area.height());
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(pixels.data() + y * rowBytes, from + y * image.bytesPerLine(), rowBytes);
  }
}

void TextPatches::Write(const uchar* pixels, const QRect& area, QImage& image) {
  const std::size_t rowBytes = std::size_t(area.width()) * (image.depth() / 8);
  uchar* to = image.scanLine(area.top()) + std::size_t(area.left()) * (image.depth() / 8);
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(to + y * image.bytesPerLine(), pixels + y * rowBytes, rowBytes);
  }
}

// Printed in an opaque colour over a transparent image, a pixel that the glyphs cover at
// all takes some alpha, and one they do not cover stays transparent.
std::optional<QRect> TextPatches::InkOf(const QStaticText& text, const QFont& font) {
  const int margin = std::max(font.pixelSize(), 1);
  QImage probe(text.size().toSize().grownBy(QMargins(margin, margin, margin, margin)),
               QImage::Format_ARGB32_Premultiplied);
  probe.fill(Qt::transparent);
  {
    QPainter painter(&probe);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawStaticText(QPointF(margin, margin), text);
  }
  // Each row from both ends inwards: the glyphs lie in the middle of the probe.
  int left = probe.width(), top = probe.height(), right = -1, bottom = -1;
  for (int y = 0; y < probe.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(probe.constScanLine(y));
    const auto* end = line + probe.width();
    const auto* first = std::find_if(line, end, [](QRgb pixel) { return qAlpha(pixel) != 0; });
    if (first == end) continue;
    const auto last =
        std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first),
                     [](QRgb pixel) { return qAlpha(pixel) != 0; });
    left = std::min(left, int(first - line));
    right = std::max(right, int(last.base() - 1 - line));
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return QRect();
  if (left == 0 || top == 0 || right == probe.width() - 1 || bottom == probe.height() - 1) {
    return std::nullopt;
  }
  return QRect(QPoint(left - margin, top - margin), QPoint(right - margin, bottom - margin));
}

}  // namespace morvik
