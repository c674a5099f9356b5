#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Maidenhead locators: six characters, upper case (JO91RU).
bool LocatorInvalid(QStringView text);

struct Coordinates {
    double longitude = 0; // east positive
    double latitude = 0;  // north positive
};

// The centre of the locator's sub-square. Callers pass only locators accepted by LocatorInvalid.
Coordinates LocatorToCoordinates(QStringView locator);

struct DistanceAzimuthResult {
    int km = 0;
    double azimuth = 0;
    // The azimuth label's text: "Azymut:  " + whole degrees + "°".
    QString label() const;
};

// Point 1 is the operator's own locator, point 2 the other station's.
DistanceAzimuthResult DistanceAzimuth(double lat1, double lat2, double lon1, double lon2);

// Convenience for callers holding two valid locators.
DistanceAzimuthResult DistanceAzimuth(QStringView ownLocator, QStringView otherLocator);

// From the own locator to a point given by its latitude and longitude (a country's centre): the beam heading.
// nullopt when the own locator is not a valid one (not set yet, or mistyped).
std::optional<DistanceAzimuthResult> DistanceAzimuthTo(QStringView ownLocator, double latitude, double longitude);
