#pragma once

#include <QString>

// Element lengths in milliseconds, derived from the speed, the three ratios (in tenths) and the calibration.
struct MorseTiming {
    int dotLength = 0;
    int dashLength = 0;
    int elementGap = 0;
    int longGap = 0;
};

namespace Morse {
inline constexpr int kMinSpeed = 10;
inline constexpr int kMaxSpeed = 60;

// Nearest integer, a half going to the even neighbour.
int roundHalfEven(double value);
MorseTiming ComputeTiming(int wpm, int dashRatio, int gapRatio, int longGapRatio, double calibrationFactor);
// The pattern of a character as '.' and '-'; empty when it has no code. The backslash keys as "/".
QString code(QChar c);
// Cut numbers: every "0" becomes "T", then every "9" becomes "N".
QString cutNumbers(QString text);
int clampSpeed(int wpm);
} // namespace Morse
