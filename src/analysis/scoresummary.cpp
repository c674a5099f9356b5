#include "analysis/scoresummary.h"

QString rightAlignedNumber(qint64 value, int width) {
    const QString padded = QString(width, QLatin1Char(' ')) + QString::number(value);
    return padded.right(width);
}

QString BuildScoreSummary(const QString& logPath, const ScoreFigures& figures) {
    QString caption = QStringLiteral("Log ") + ShortenPath(logPath, 60);
    caption += QStringLiteral("          QSO: ") + rightAlignedNumber(figures.qsoCount, 6);
    caption += QStringLiteral("       CW: ") + rightAlignedNumber(figures.cwCount, 4);
    caption += QStringLiteral("       SSB: ") + rightAlignedNumber(figures.phoneCount, 4);
    if (figures.showOdx)
        caption += QStringLiteral("       Suma ODX: ") + rightAlignedNumber(figures.odxTotal, 7);
    return caption;
}

QString ShortenPath(const QString& path, int limit, QChar separator) {
    QString text = path;
    qsizetype count = text.count(separator);
    while (text.size() > limit && count > 2) {
        const qsizetype half = count / 2;
        qsizetype headEnd = -1;
        for (qsizetype i = 0; i < half; ++i)
            headEnd = text.indexOf(separator, headEnd + 1);
        const QString head = text.left(headEnd + 1);
        QString rest = text.mid(headEnd + 1);
        const qsizetype first = rest.indexOf(separator);
        const qsizetype second = first < 0 ? -1 : rest.indexOf(separator, first + 1);
        if (second < 0)
            break;
        rest = rest.mid(second + 1);
        text = head + QStringLiteral("...") + separator + rest;
        --count;
    }
    return text;
}

QString loggedCountiesCaption(qsizetype count) {
    return QStringLiteral("[") + QString::number(count) + QStringLiteral("] Zalogowane powiaty");
}
