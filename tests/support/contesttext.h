#pragma once

#include "contest/contestdefinition.h"

#include <QStringList>

// The text of a contest definition that reads: [Zawody] with its four required keys (a line of `contest` with
// the same key replaces the default one), then the points rules and the multipliers, one per line.
inline QByteArray
contestText(const QStringList& contest, const QStringList& points = {}, const QStringList& multipliers = {}) {
    QStringList keys = {"Nazwa=Test", "Cabrillo=TEST", "Pasma=20M", "Emisje=CW"};
    for (const QString& line : contest) {
        const QString key = line.section(QLatin1Char('='), 0, 0);
        const auto same = std::find_if(keys.begin(), keys.end(), [&](const QString& k) {
            return k.section(QLatin1Char('='), 0, 0).compare(key, Qt::CaseInsensitive) == 0;
        });
        if (same != keys.end())
            *same = line;
        else
            keys.append(line);
    }
    QStringList lines =
        QStringList{"[Zawody]"} + keys + QStringList{"[Punkty]"} + points + QStringList{"[Mnozniki]"} + multipliers;
    return lines.join(QLatin1Char('\n')).toUtf8();
}

// What a definition holds, one "what=value" line each, in the words of the file format, so a test compares a
// definition with the lines that were meant to give it. Rules and multipliers are joined with "; " in their order.
inline QStringList contestFields(const ContestDefinition& d, bool withRuleLines = true) {
    using D = ContestDefinition;
    const auto join = [](const auto& items, auto name) {
        QStringList parts;
        for (const auto& item : items)
            parts.append(name(item));
        return parts.join(QLatin1Char(' '));
    };
    static const char* const dupes[] = {"pasmo", "pasmo i emisja", "raz"};
    static const char* const exchanges[] = {"raport i numer", "raport i kod", "raport i powiat", "lokator"};
    static const char* const conditions[] = {"kraj", "kontynent", "moj-kontynent", "pasmo", "emisja"};
    static const char* const kinds[] = {"kraj", "wpx", "kod", "powiat", "kwadrat"};
    static const char* const scopes[] = {"pasmo", "pasmo-emisja", "raz"};
    QStringList rules;
    QStringList ruleLines;
    for (const D::PointsRule& rule : d.pointsRules) {
        QString text = rule.pointsPerKm == 0   ? QString::number(rule.points)
                       : rule.pointsPerKm == 1 ? QStringLiteral("km")
                                               : QStringLiteral("%1*km").arg(rule.pointsPerKm);
        for (const D::Condition& c : rule.conditions) {
            const QString value = c.own     ? QStringLiteral("wlasny")
                                  : c.other ? QStringLiteral("inny")
                                            : c.values.join(',');
            text += QStringLiteral(" %1=%2").arg(QLatin1String(conditions[int(c.kind)]), value);
        }
        rules.append(text);
        ruleLines.append(QString::number(rule.line));
    }
    QStringList multipliers;
    for (const D::Multiplier& m : d.multipliers) {
        QString text =
            QStringLiteral("%1 %2").arg(QLatin1String(kinds[int(m.kind)]), QLatin1String(scopes[int(m.scope)]));
        if (!m.excluded.isEmpty())
            text += QStringLiteral(" bez=") + m.excluded.join(',');
        multipliers.append(text);
    }
    QStringList fields = {
        "plik=" + d.fileName,
        "Nazwa=" + d.name,
        "Cabrillo=" + d.cabrilloName,
        "Pasma=" + join(d.bands, [](Band b) { return b.name(); }),
        "Emisje=" + join(d.modes, [](Mode m) { return m.name(); }),
        "Powtorzenia=" + QLatin1String(dupes[int(d.dupeRule)]),
        "Odbierana=" + QLatin1String(exchanges[int(d.exchange)]),
        "Kody=" + d.codes.join(' '),
        "Wynik=" + QLatin1String(d.formula == D::Formula::PointsOnly ? "punkty" : "punkty x mnozniki"),
        "Reguly=" + rules.join(QStringLiteral("; ")),
        "Mnozniki=" + multipliers.join(QStringLiteral("; ")),
        "cty.dat=" + QLatin1String(d.needsCountries() ? "tak" : "nie"),
    };
    if (withRuleLines)
        fields.append("wiersze regul=" + ruleLines.join(','));
    return fields;
}
