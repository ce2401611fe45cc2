// What the time and zone chooser of a date row shows and gives back.
#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace vek::gui {

// The time and zone chooser of a date row: a time to the minute and a
// zone, typed or picked from a list that a search text narrows.
struct TimeAndZoneRequest {
    QString title;
    QString timeLabel, zoneLabel, okText, cancelText, noMatchText;
    QString time;  // shown at first
    QString zone;
    // The zones whose names contain the text, each with the offset in
    // force at the row's date ("GMT+2:00").
    std::function<std::vector<std::pair<QString, QString>>(const QString&)> zonesMatching;
    // The one-line reason why a time and zone cannot be taken, empty
    // when they can.
    std::function<QString(const QString& time, const QString& zone)> check;
};
struct TimeAndZone {
    QString time;
    QString zone;
};

}  // namespace vek::gui
