#pragma once
// The colours of the month chart, shared by the drawing, the stamp plotting and the tests.

#include <QColor>

namespace morvik::chart {

inline const QColor kBlack(0, 0, 0);
inline const QColor kHourLineGrey(192, 192, 192);
inline const QColor kHolidayRed(255, 0, 0);
inline const QColor kRegularBlue(185, 220, 255);    // 通常勤務
inline const QColor kOvertimePink(255, 128, 128);   // 時間外・当直
inline const QColor kSelfStudyYellow(255, 255, 0);  // 自己研鑽
inline const QColor kLeaveGrey(200, 200, 200);      // 休暇
inline const QColor kStampRed(255, 0, 0);           // 打刻時間
inline const QColor kApprovedGrey(100, 100, 100);
inline const QColor kPendingGreen(0, 128, 0);
inline const QColor kRejectedPurple(128, 0, 255);

}  // namespace morvik::chart
