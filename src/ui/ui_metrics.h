#pragma once
// Layout units and fonts of the windows. The window was designed in twips at 96 dots per
// inch (15 twips a pixel), and its fonts in points at the same resolution, so both are
// turned into pixels here: the controls keep their designed proportions on any screen.

#include <QFont>
#include <QRect>
#include <QString>

namespace morvik::ui {

inline constexpr int kTwipsPerPixel = 15;

// left, top, width, height in twips.
QRect TwipsRect(int left, int top, int width, int height);

// A point size at 96 dots per inch, in whole pixels (9 pt is 12 pixels).
int PointsToPixels(double points);

// The proportional Japanese Gothic face of the controls: "ＭＳ Ｐゴシック" where it is
// installed, else IPAPGothic or IPAGothic, else any face with Japanese glyphs.
QString JapaneseGothicFace();

// That face at `points`, bold when asked.
QFont JapaneseFont(double points, bool bold = false);

}  // namespace morvik::ui
