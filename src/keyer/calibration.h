#pragma once

#include <QString>

// The PARIS calibration of the configuration window: twenty words PARIS at 20 WPM should take 60 s; the time
// they took becomes the factor every later dot length is divided by.
namespace Calibration {
inline constexpr int kSpeed = 20;
inline constexpr double kIdealSeconds = 60.0;

QString parisText();    // twenty words PARIS separated by single spaces
QString introMessage(); // shown before the run
// The time of the run, whole milliseconds as the measurement gives them, in seconds.
double seconds(qint64 elapsedMs);
double factor(double seconds);
// After the run, with the time in the system's number format.
QString resultMessage(double seconds);
// A run that the port cut short measures nothing; the factor stays.
QString failedMessage();
} // namespace Calibration
