#include "analysis/locator.h"

#include <cmath>

namespace {

// The angular constants all derive from pi written with twelve decimals, at extended precision.
constexpr long double kPi = 3.141592653589L;
constexpr long double kRad = 180.0L / kPi;
constexpr long double kHalfPi = kPi / 2.0L;
constexpr long double kTwoPi = 2.0L * kPi;
constexpr long double kDegToRad = kPi / 180.0L;
constexpr long double kEarth = 111.2L * 180.0L / kPi;
constexpr long double kTwelfth = 1.0L / 12.0L;
constexpr long double kTwentyFourth = 1.0L / 24.0L;
constexpr long double kFortyEighth = 1.0L / 48.0L;

} // namespace

bool LocatorInvalid(QStringView text) {
    if (text.size() != 6)
        return true;
    auto inRange = [](QChar ch, char low, char high) {
        return ch.unicode() >= char16_t(low) && ch.unicode() <= char16_t(high);
    };
    if (!inRange(text[0], 'A', 'R') || !inRange(text[1], 'A', 'R'))
        return true;
    if (!inRange(text[2], '0', '9') || !inRange(text[3], '0', '9'))
        return true;
    return !inRange(text[4], 'A', 'X') || !inRange(text[5], 'A', 'X');
}

Coordinates LocatorToCoordinates(QStringView locator) {
    Coordinates result;
    if (locator.size() < 6)
        return result;
    auto at = [&locator](int i) { return static_cast<long double>(locator[i].unicode()); };
    if (locator[0] >= QLatin1Char('A') && locator[0] <= QLatin1Char('R')) {
        result.longitude = static_cast<double>((at(0) - 'A') * 20.0L - 180.0L + (at(2) - '0') * 2.0L +
                                               (at(4) - 'A') * kTwelfth + kTwentyFourth);
    }
    if (locator[1] >= QLatin1Char('A') && locator[1] <= QLatin1Char('R')) {
        result.latitude = static_cast<double>((at(1) - 'A') * 10.0L - 90.0L + (at(3) - '0') +
                                              (at(5) - 'A') * kTwentyFourth + kFortyEighth);
    }
    return result;
}

QString DistanceAzimuthResult::label() const {
    return QStringLiteral("Azymut:  ") + QString::number(static_cast<long long>(std::trunc(azimuth))) +
           QStringLiteral("°");
}

DistanceAzimuthResult DistanceAzimuth(double lat1, double lat2, double lon1, double lon2) {
    const double la1 = static_cast<double>(lat1 / kRad);
    const double la2 = static_cast<double>(lat2 / kRad);
    const double lo1 = static_cast<double>(lon1 / kRad);
    const double lo2 = static_cast<double>(lon2 / kRad);

    const double c =
        static_cast<double>(std::sin(static_cast<long double>(la1)) * std::sin(static_cast<long double>(la2)) +
                            std::cos(static_cast<long double>(la1)) * std::cos(static_cast<long double>(la2)) *
                                std::cos(static_cast<long double>(lo1) - lo2));
    // Rounding can push c a hair above 1 for very close points; that is a zero arc.
    const long double sinArcSquared = std::max(0.0L, 1.0L - static_cast<long double>(c) * c);
    const long double sinArc = std::sqrt(sinArcSquared);
    long double d = (c == 0.0 ? kHalfPi : std::atan(sinArc / c)) * kEarth;
    d = static_cast<double>(d);
    if (d - std::trunc(d) > 0)
        d += 1;

    DistanceAzimuthResult result;
    result.km = static_cast<int>(d < 0 ? std::trunc(20010.0L + d) : std::trunc(d));

    if (la1 == la2 && lo1 == lo2) {
        result.azimuth = 0;
        return result;
    }
    const double n =
        static_cast<double>(std::cos(static_cast<long double>(la1)) * std::sin(static_cast<long double>(la2)) -
                            std::sin(static_cast<long double>(la1)) * std::cos(static_cast<long double>(la2)) *
                                std::cos(static_cast<long double>(lo2) - lo1));
    const double q = sinArc == 0 ? (n < 0 ? -1.0 : 1.0) : static_cast<double>(n / sinArc);
    const long double cosRest = 1.0L - static_cast<long double>(q) * q;
    if (cosRest < 0) {
        result.azimuth = 180;
        return result;
    }
    const long double root = std::sqrt(cosRest);
    const double a = static_cast<double>(root == 0 ? (q > 0 ? 0.0L : kPi) : kHalfPi - std::atan(q / root));
    const long double dLon = static_cast<long double>(lo2) - lo1;
    const long double s = (kPi - std::fabs(dLon)) * dLon;
    result.azimuth = static_cast<double>(s >= 0 ? a / kDegToRad : (kTwoPi - a) / kDegToRad);
    return result;
}

DistanceAzimuthResult DistanceAzimuth(QStringView ownLocator, QStringView otherLocator) {
    const Coordinates own = LocatorToCoordinates(ownLocator);
    const Coordinates other = LocatorToCoordinates(otherLocator);
    return DistanceAzimuth(own.latitude, other.latitude, own.longitude, other.longitude);
}

std::optional<DistanceAzimuthResult> DistanceAzimuthTo(QStringView ownLocator, double latitude, double longitude) {
    if (LocatorInvalid(ownLocator))
        return std::nullopt;
    const Coordinates own = LocatorToCoordinates(ownLocator);
    return DistanceAzimuth(own.latitude, latitude, own.longitude, longitude);
}
