#include "cli/report_lines.h"

#include "config/text_ids.h"
#include "display/chart_points_text.h"
#include "engine/angle_text.h"
#include "engine/modes.h"
#include "time/dates.h"
#include "time/zones.h"

namespace vek::cli {

const char* NameOfDateSlot(DateSlot slot) {
    return slot == kBirth1 ? "birth1" : slot == kBirth2 ? "birth2" : "world";
}

EntrySlots EntrySlotsOf(Mode mode) {
    const ModeInfo& m = ModeInfoOf(mode);
    if (!m.twoCharts) return {m.dateSlots[0], m.dateSlots[0]};
    if (m.personal) return {m.dateSlots[1], m.dateSlots[0]};
    return {m.dateSlots[0], m.dateSlots[1]};
}

void WriteBodyJson(JsonWriter& w, const char* key, Body body, DateSlot slot,
                   const NameTables& names) {
    w.Key(key).BeginObject();
    w.Key("index").Int(Index(body));
    w.Key("name").String(names.BodyName[body]);
    w.Key("date").String(NameOfDateSlot(slot));
    w.EndObject();
}

namespace {

// An extra point as WriteBodyJson writes a body, with its key.
void WritePointJson(JsonWriter& w, const char* key, ExtraPoint point, DateSlot slot,
                    const ProgramTexts* texts) {
    w.Key(key).BeginObject();
    w.Key("index").Int(PointNumber(point));
    w.Key("name").String(texts ? ExtraPointName(*texts, point) : ExtraPointKey(point));
    w.Key("date").String(NameOfDateSlot(slot));
    w.Key("point").String(ExtraPointKey(point));
    w.EndObject();
}

}  // namespace

void OpenReport(ComputeSession& s, DurationsReport& report, bool exactTimes, TimeZone* worldZone) {
    // The rows hold the dates as the window's do, zones and minutes
    // included, so the report reads them as the window's report does.
    const ReportDates dates = ReportDatesFrom(s.rows, s.mode);
    ReportSettings settings = ReportSettingsOf(s.settings);
    settings.exactTimes = exactTimes;
    settings.points = s.extras.points;
    if (worldZone)
        *worldZone = dates.worldNamedZone.IsNamed() ? dates.worldNamedZone
                                                    : TimeZone::Fixed(dates.worldZoneMinutes);
    OpenDurationsReport(report, s.engine, s.results.chart, dates, settings, s.Texts());
}

std::string NoAspectsMessage(const ComputeSession& s) {
    if (s.results.table.GetTotalNumAspects(s.engine.names) > 0) return "";
    const bool personal = ModeInfoOf(s.mode).personal;
    return s.Texts().ProgramText(personal ? kTextNoTransitsToReport : kTextNoAspectsToReport);
}

std::string IsoDateOfDayNumber(long dayNumber) {
    CalendarDate d;
    d.dayNumber = static_cast<int32_t>(dayNumber);
    DayNumberToDate(d);
    return IsoDateText(d);
}

void WriteEntryJson(JsonWriter& w, const DurationEntry& e, Mode mode, const NameTables& names,
                    bool withDates, const std::string& text, const TimeZone* zone,
                    const ProgramTexts* texts) {
    const EntrySlots slots = EntrySlotsOf(mode);
    w.BeginObject();
    if (e.firstPoint) {
        WritePointJson(w, "first", *e.firstPoint, slots.first, texts);
    } else {
        WriteBodyJson(w, "first", e.first, slots.first, names);
    }
    if (e.secondPoint) {
        WritePointJson(w, "second", *e.secondPoint, slots.second, texts);
    } else {
        WriteBodyJson(w, "second", e.second, slots.second, names);
    }
    w.Key("aspect").BeginObject();
    w.Key("index").Int(Index(e.aspect));
    w.Key("name").String(names.AspectName[e.aspect]);
    w.EndObject();
    w.Key("deviation").Number(e.deviation, 6);  // radians, kept for existing scripts
    w.Key("deviation_degrees").Number(e.deviation * 180.0 / kPi, 6);
    w.Key("deviation_text").String(AngleText(Radians(e.deviation)));
    if (withDates) {
        const bool moon = e.OfMovingMoon();
        w.Key("moving_moon").Bool(moon);
        if (e.HasDates() && e.beginning >= 0) {
            w.Key("beginning").String(IsoDateOfDayNumber(e.beginning));
        } else {
            w.Key("beginning").Null();
        }
        if (e.HasDates() && e.end >= 0) {
            w.Key("end").String(IsoDateOfDayNumber(e.end));
        } else {
            w.Key("end").Null();
        }
        if (e.HasDuration()) {
            w.Key("duration_days").Int(e.duration);
        } else {
            w.Key("duration_days").Null();
        }
        if (zone) {
            // Always the three fields: null and an empty list where the
            // dates are unknown, so scripts need not test for them.
            const ExactTimes none;
            const ExactTimes& x = e.exactTimes ? *e.exactTimes : none;
            auto instant = [&](const char* key, double jd) {
                const std::string t = IsoInstantText(jd, *zone);
                if (t.empty()) {
                    w.Key(key).Null();
                } else {
                    w.Key(key).String(t);
                }
            };
            instant("enters_orb", x.enters);
            w.Key("exact").BeginArray();
            for (const double jd : x.exact) w.String(IsoInstantText(jd, *zone));
            w.EndArray();
            instant("leaves_orb", x.leaves);
        }
    }
    if (!text.empty()) w.Key("text").String(text);
    w.EndObject();
}

}  // namespace vek::cli
