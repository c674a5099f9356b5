#pragma once

#include "contest/contestscore.h"
#include "contest/countryfile.h"

#include <QString>
#include <QStringView>

#include <optional>

// The line under the callsign field while a call is typed: where the station is and where to turn the beam,
// then what the contact would score in the chosen contest.
struct ContestEntryLine {
    enum class Mark { None, NewMultiplier, Dupe };
    QString country; // "Poland (EU)   Azymut:  64°", "Kraj nieznany"; empty for an empty callsign
    QString score; // "NOWY MNOŻNIK: DL   3 pkt", "3 pkt", "DUPE w zawodach", "poza zawodami"; empty without a contest
    Mark mark = Mark::None; // how the score is to stand out
};

// call: as typed; country: its country when the country file knows it; score: what the contest would count
// (nullopt without a contest); ownLocator: the operator data's locator, which gives the heading when it is valid.
ContestEntryLine contestEntryLine(QStringView call,
                                  const std::optional<Country>& country,
                                  const std::optional<ContactScore>& score,
                                  QStringView ownLocator);
