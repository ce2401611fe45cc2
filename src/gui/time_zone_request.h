// What the time and zone chooser of a date row shows and gives back.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace vek::gui {

// A city of the atlas as the chooser's place list shows it.
struct PlaceEntry {
    QString title;        // "Berlin, Land Berlin, Germany (DE)"
    QString coordinates;  // "52°31'N 13°24'E"
    QString zone;         // "Europe/Berlin"
    double latitude = 0, longitude = 0;
};

// The time and zone chooser of a date row: a time to the minute and a
// zone, typed or picked from a list that a search text narrows, and the
// row's place, a city picked from the atlas or coordinates typed.
struct TimeAndZoneRequest {
    QString title;
    QString timeLabel, zoneLabel, okText, cancelText, noMatchText;
    QString time;  // shown at first
    QString zone;
    QString placeLabel, placeNoMatchText;
    QString place;  // the row's place as shown at first; empty for none
    // The cities whose names begin with the text, the likeliest first; a
    // text that cannot be searched (the atlas is missing) gives none.
    std::function<std::vector<PlaceEntry>(const QString&)> placesMatching;
    // The zones whose names contain the text, each with the offset in
    // force at the row's date ("GMT+2:00").
    std::function<std::vector<std::pair<QString, QString>>(const QString&)> zonesMatching;
    // The one-line reason why a time and zone cannot be taken, empty
    // when they can.
    std::function<QString(const QString& time, const QString& zone)> check;
    // The same for the place box: empty when its text can be taken.
    std::function<QString(const QString& place)> checkPlace;
};
struct TimeAndZone {
    QString time;
    QString zone;
    // The place box as it stands (empty: no place), and the city of the
    // list it names, if any.
    QString place = QString();
    std::optional<PlaceEntry> city = std::nullopt;
};

}  // namespace vek::gui
