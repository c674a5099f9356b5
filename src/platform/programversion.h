#pragma once

#include <QString>

// The program's version as the build gives it (major.minor.release): the entry window, the about box and
// every export file name the same one.
QString programVersion();
