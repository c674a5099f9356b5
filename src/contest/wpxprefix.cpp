#include "contest/countryfile.h"

namespace {

// Designators that tell how the station works, not where it is.
bool isOperatingDesignator(QStringView part) {
    return part == u"P" || part == u"M" || part == u"QRP" || part == u"A";
}

bool isMaritimeDesignator(QStringView part) {
    return part == u"MM" || part == u"AM";
}

bool isLoneDigit(QStringView part) {
    return part.size() == 1 && part.front().isDigit();
}

qsizetype lastDigit(QStringView text) {
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i].isDigit())
            return i;
    }
    return -1;
}

// Up to and including the last digit; without a digit, the first `lettersKept` characters followed by "0".
QString prefixUpToDigit(QStringView text, qsizetype lettersKept) {
    const qsizetype last = lastDigit(text);
    if (last >= 0)
        return text.left(last + 1).toString();
    return text.left(lettersKept).toString() + QLatin1Char('0');
}

} // namespace

CallsignParts splitCallsign(QStringView call) {
    CallsignParts parts;
    const QString text = call.trimmed().toString().toUpper();
    std::vector<QStringView> kept;
    for (const QStringView part : QStringView(text).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (isMaritimeDesignator(part))
            parts.maritime = true;
        else if (!isOperatingDesignator(part))
            kept.push_back(part);
    }
    if (kept.empty())
        return parts;
    // The station's own callsign is the longest part; of two of the same length, the later (PA/DL1 is rare, and
    // a location is written first more often than last).
    std::size_t own = 0;
    for (std::size_t i = 1; i < kept.size(); ++i) {
        if (kept[i].size() >= kept[own].size())
            own = i;
    }
    parts.call = kept[own].toString();
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i == own)
            continue;
        if (isLoneDigit(kept[i]))
            parts.areaDigit = kept[i].front();
        else if (parts.location.isEmpty())
            parts.location = kept[i].toString();
    }
    return parts;
}

QString wpxPrefix(QStringView call) {
    const CallsignParts parts = splitCallsign(call);
    if (parts.call.isEmpty())
        return {};
    if (!parts.location.isEmpty())
        return prefixUpToDigit(parts.location, parts.location.size());
    if (parts.areaDigit.isNull())
        return prefixUpToDigit(parts.call, 2);
    const qsizetype last = lastDigit(parts.call);
    if (last < 0)
        return parts.call.left(2) + parts.areaDigit;
    return parts.call.left(last) + parts.areaDigit;
}
