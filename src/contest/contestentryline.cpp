#include "contest/contestentryline.h"

#include "analysis/locator.h"

ContestEntryLine contestEntryLine(QStringView call,
                                  const std::optional<Country>& country,
                                  const std::optional<ContactScore>& score,
                                  QStringView ownLocator) {
    ContestEntryLine line;
    if (call.trimmed().isEmpty())
        return line;
    if (country) {
        line.country = QStringLiteral("%1 (%2)").arg(country->name, country->continent);
        if (const auto heading = DistanceAzimuthTo(ownLocator, country->latitude, country->longitude))
            line.country += QStringLiteral("   ") + heading->label();
    } else {
        line.country = QStringLiteral("Kraj nieznany");
    }
    if (!score)
        return line;
    if (!score->inContest) {
        line.score = QStringLiteral("poza zawodami");
    } else if (score->dupe) {
        line.score = QStringLiteral("DUPE w zawodach");
        line.mark = ContestEntryLine::Mark::Dupe;
    } else {
        const QString points = QStringLiteral("%1 pkt").arg(score->points);
        if (score->newMultipliers.isEmpty()) {
            line.score = points;
        } else {
            line.score =
                QStringLiteral("NOWY MNOŻNIK: %1   %2").arg(score->newMultipliers.join(QStringLiteral(", ")), points);
            line.mark = ContestEntryLine::Mark::NewMultiplier;
        }
    }
    return line;
}
