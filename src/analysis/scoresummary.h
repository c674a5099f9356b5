#pragma once

#include <QDir>
#include <QString>

struct ScoreFigures {
    qint64 qsoCount = 0;
    qint64 cwCount = 0;
    qint64 phoneCount = 0;
    qint64 odxTotal = 0;
    bool showOdx = false; // analysis on in the locator mode
};

// The log window's caption: the log path, then the QSO, CW and SSB counts (and "Suma ODX" in locator mode).
QString BuildScoreSummary(const QString& logPath, const ScoreFigures& figures);

// Shortens a long path for a caption by replacing folders in its middle with "...".
QString ShortenPath(const QString& path, int limit = 60, QChar separator = QDir::separator());

// The decimal number right-aligned in width characters; a longer number keeps its last digits.
QString rightAlignedNumber(qint64 value, int width);

// "[" + count + "] Zalogowane powiaty"
QString loggedCountiesCaption(qsizetype count);
