#pragma once

#include <QStringList>

// The lines of a multi-line text field (remarks, soapbox): a line break after the last line starts no further,
// empty line, and an empty field has no lines at all.
QStringList memoLines(QString text);
