#pragma once
// Where things lie on the month chart, in canvas units (one unit a pixel). Shared by the
// drawing, the stamp plotting and the tests so that all agree on every coordinate.
//
// The time axis runs from 0:00 at x = 80 to 24:00 at x = 992, 38 units an hour. Day row
// d (1..32) is the band between the row lines at y = 85 + 20d and y = 105 + 20d.

namespace morvik::chart {

inline constexpr double kAxisLeft = 80;    // x of 0:00
inline constexpr double kAxisRight = 992;  // x of 24:00
inline constexpr double kHourWidth = 38;
inline constexpr double kRowHeight = 20;

// x of minute m of a day. Computed in double and handed on as float without rounding,
// so that the canvas alone decides the pixel.
constexpr float MinuteX(double minute) {
  return static_cast<float>(kAxisLeft + minute * kHourWidth / 60.0);
}

constexpr float HourX(int hour) { return static_cast<float>(kAxisLeft + kHourWidth * hour); }

// y of the row line above day d; the line below day d is RowLineY(d + 1).
constexpr float RowLineY(double day) { return static_cast<float>(85 + kRowHeight * day); }

// Vertical extents of what one day row holds.
struct Band {
  float top;
  float bottom;
};

constexpr Band BarBand(double day) { return {RowLineY(day) + 4, RowLineY(day) + 16}; }
// Leave is drawn in the lower part of the bar band only, so the bar above stays visible.
constexpr Band LeaveBand(double day) { return {RowLineY(day) + 11, RowLineY(day) + 16}; }
constexpr Band StampBand(double day) { return {RowLineY(day) + 12, RowLineY(day) + 19}; }
// Top of the day label and of the request texts.
constexpr float RowTextY(double day) { return RowLineY(day) + 5; }

// A stamp marker spans five minutes from the stamp.
inline constexpr double kStampMinutes = 5;

}  // namespace morvik::chart
