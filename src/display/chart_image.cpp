#include "display/chart_image.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "engine/modes.h"
#include "time/zones.h"
#include "util/text.h"

namespace vek {

namespace {

int Red(Color c) {
    return c.red();
}
int Green(Color c) {
    return c.green();
}
int Blue(Color c) {
    return c.blue();
}

// No note starts left of this pixel column.
constexpr double kMinimumNoteLeft = 3;

// Annotation positions are pixels; the drawing's coordinates are twips.
int Px(double pixels) {
    return static_cast<int>(pixels * kTwipsPerPixel + 0.5);
}

// The time-and-zone line of a row holding a minute or a zone its lists
// lack: the minute and the offset in force at the row's date, "14:47
// GMT+5:45" (seconds where local mean time has them). The lists' entries
// would name the half hour and the nearest listed offset instead.
std::string TimeAndOffsetLine(DateRows rows, DateSlot slot) {
    const DateRowFields& r = rows.Row(slot);
    const int minute = MinuteOfDay(r);
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d", minute / 60, minute % 60);
    std::string zone;
    if (r.zone) {
        const Result<JulianDate> jd = rows.InputDateToAJDate(slot);
        const Result<int32_t> offset = jd && jd->days > 0 ? OffsetAtInstant(jd->days, *r.zone)
                                                          : Result<int32_t>(Fail("no date"));
        zone = offset ? OffsetText(*offset) : r.zone->IsNamed() ? r.zone->name : "";
    } else if (r.zoneIndex > 0 && r.zoneIndex < static_cast<int>(rows.ZoneList().size())) {
        zone = rows.ZoneList()[static_cast<size_t>(r.zoneIndex)].text;
    }
    return std::string(time) + " " + zone;
}

class Annotator {
  public:
    Annotator(ChartWheel& w, const SavedImageInput& in) : w_(w), in_(in) {}

    std::string T(TextId n) const { return in_.texts.ProgramText(n); }

    void Note(double x, double y, std::string text, Color color, bool alignRight = false) {
        ChartPrimitive p;
        p.kind = ChartPrimitive::Kind::Text;
        p.role = ChartRole::Note;
        p.x1 = Px(x);
        p.y1 = Px(y);
        p.text = std::move(text);
        p.font = ChartFont::Note;
        p.color = color;
        p.alignRight = alignRight;
        w_.items.push_back(p);
    }

    // A date block: the label, then the date one line lower and 20 pixels
    // further left, then time and zone one more line lower and 20 further.
    // A block whose last line would start left of the image's edge moves
    // right as a whole, so that no line is cut off.
    void DateBlock(DateSlot slot, double x, double y) {
        static constexpr TextId kLabel[3] = {kTextWorldDate, kTextNoteFirstBirthdate,
                                             kTextNoteSecondBirthdate};
        const double d = kNoteLineSpacing;
        x = std::max(x, kMinimumNoteLeft + 40);
        Note(x, y, T(kLabel[Index(slot)]) + ":", kNoteBlue);
        if (!in_.rows) return;
        const DateRowFields& r = in_.rows->Row(slot);
        char md[16];
        std::snprintf(md, sizeof md, "-%02d-%02d", r.monthIndex, r.dayIndex);
        Note(x - 20, y + d, r.yearText + md, kNoteBlue);
        if (r.HasExtras()) {
            Note(x - 40, y + 2 * d, TimeAndOffsetLine(*in_.rows, slot), kNoteBlue);
            return;
        }
        auto entry = [](const auto& list, int i) -> std::string {
            if (i < 0 || i >= static_cast<int>(list.size())) return std::string();
            if constexpr (std::is_same_v<std::decay_t<decltype(list[0])>, ZoneEntry>) {
                return list[static_cast<size_t>(i)].text;
            } else {
                return list[static_cast<size_t>(i)];
            }
        };
        Note(x - 40, y + 2 * d,
             entry(in_.rows->TimeList(), r.timeIndex) + " " +
                 entry(in_.rows->ZoneList(), r.zoneIndex),
             kNoteBlue);
    }

    void Annotate() {
        const bool two = w_.twoCharts;
        const bool german = in_.texts.language() == kGerman;
        const double d = kNoteLineSpacing;
        const int width = w_.WidthPixels();

        // Who made it, and the version.
        const double left = two ? 114 : 5;
        Note(left, 0, T(kTextNoteMadeWith), kNoteGrey);
        Note(left, d, T(kTextNoteProgramFor), kNoteGrey);
        Note(left, 2 * d, T(kTextNoteAspectPatterns), kNoteGrey);
        Note(left, 3 * d, in_.version, kNoteGrey);
        const double right = width / 2.0 + (two ? 73 : 63);
        const std::string path = HomePagePath(in_.texts.language());
        if (two) {
            Note(right, 0, std::string(kHomePageHost) + path, kNoteGrey);
        } else {
            Note(right, 0, kHomePageHost, kNoteGrey);
            Note(right + 37, d, path, kNoteGrey);
        }

        switch (w_.mode) {
            case Mode::World:
                DateBlock(kWorldDate, 328, 350);
                SingleZodiac(5, false);
                break;
            case Mode::Natal1:
            case Mode::Natal2:
                DateBlock(w_.mode == Mode::Natal1 ? kBirth1 : kBirth2, 3, 350);
                // The birthdate takes the lower left corner; the zodiac
                // notes stand in the lower right one.
                SingleZodiac(width - 5, true);
                break;
            case Mode::Personal1:
            case Mode::Personal2:
                Note(german ? 34 : 50, 385 - d, T(kTextNotePersonalTransits), kNoteBlue);
                DateBlock(kWorldDate, 472, 390);
                DateBlock(w_.mode == Mode::Personal1 ? kBirth1 : kBirth2, 114, 385);
                DoubleNotes(kTextNoteTransitAndNatal);
                break;
            case Mode::Synastry:
                Note(100, 385 - d, T(kTextSynastry) + " " + T(kTextBetween), kNoteBlue);
                Note(497, 385 - d, T(kTextAnd), kNoteBlue);
                DateBlock(kBirth1, 114, 385);
                DateBlock(kBirth2, 472, 385);
                DoubleNotes(kTextNoteBothCharts);
                break;
            case Mode::None:
                break;
        }
    }

    void SingleZodiac(double x, bool alignRight) {
        const double d = kNoteLineSpacing;
        std::string first, second;
        if (in_.texts.language() == kGerman) {
            first = in_.sidereal ? "Siderisch." : "Tropisch.";
            second = "Tierkreis";
        } else {
            first = T(in_.sidereal ? kTextSidereal : kTextTropical);
            second = LowerCase(T(kTextZodiac));
        }
        Note(x, 315 + d, first, kNoteBlue, alignRight);
        Note(x, 315 + 2 * d, second, kNoteBlue, alignRight);
        if (in_.suppressInnerAspects) {
            Note(x, 350 + d, T(kTextNoteInnerAspects), kNoteBlue, alignRight);
            Note(x, 350 + 2 * d, T(kTextNoteAreHidden), kNoteBlue, alignRight);
        }
    }

    void DoubleNotes(TextId innerHeading) {
        const double d = kNoteLineSpacing;
        std::string zodiac;
        if (in_.texts.language() == kGerman) {
            zodiac = in_.sidereal ? "Siderische Tk" : "Tropische Tk";
        } else {
            zodiac = T(in_.sidereal ? kTextSiderealZodiac : kTextTropicalZodiac);
        }
        Note(7, 12.5 * d, zodiac, kNoteBlue);
        Note(7, 18 * d, in_.orbSummary, kNoteBlue);
        if (in_.suppressInnerAspects) {
            Note(552, 11.5 * d, T(innerHeading), kNoteBlue);
            Note(552, 12.5 * d, T(kTextNoteInnerBodies), kNoteBlue);
            Note(552, 13.5 * d, T(kTextNoteAspectsHidden), kNoteBlue);
        }
    }

  private:
    ChartWheel& w_;
    const SavedImageInput& in_;
};

}  // namespace

Color WhiteBackgroundColor(Color c) {
    const int r = Red(c), g = Green(c), b = Blue(c);
    if (r >= 245 && g >= 245 && b >= 245) return kChartBlack;
    if (c == Rgb(32, 32, 32)) return Rgb(160, 160, 160);
    if (!(r == g && g == b) || r == 224 || r == 128 || r == 0) {
        if (c == kChartBlack) return kChartWhite;
        if (c == Rgb(255, 255, 0)) return Rgb(255, 192, 0);
        return c;
    }
    return Rgb(160, 160, 160);
}

std::string HomePagePath(Language language) {
    return language == kGerman ? "/vek/de/vek.htm" : "/vek/vek.htm";
}

std::string AnnotationOrbSummary(const ProgramTexts& texts, Mode mode, const OrbSummary& orbs) {
    return TrimBlanks(AddOrbToTitle(texts, "", ModeInfoOf(mode).orbColumn, false, orbs));
}

void RemoveLegend(ChartWheel& w) {
    std::erase_if(w.items, [](const ChartPrimitive& p) {
        return p.role == ChartRole::Legend || p.role == ChartRole::HouseNote;
    });
    w.legendBand = 0;
}

ChartWheel SavedChartImage(const ChartWheel& shown, const SavedImageInput& in) {
    ChartWheel w = shown;
    // The note on houses undefined at the place stays, under the lines on
    // the program at the top left, as the other notes are written.
    std::vector<std::string> houseNote;
    for (const ChartPrimitive& p : w.items)
        if (p.role == ChartRole::HouseNote) houseNote.push_back(p.text);
    RemoveLegend(w);
    if (in.whiteBackground) {
        // The recolouring is a rule on colours; turning the colour of each
        // primitive gives the same picture as turning its pixels.
        for (ChartPrimitive& p : w.items) {
            p.color = WhiteBackgroundColor(p.color);
            p.fill = WhiteBackgroundColor(p.fill);
        }
        w.background = WhiteBackgroundColor(w.background);
    }
    Annotator a(w, in);
    a.Annotate();
    for (size_t i = 0; i < houseNote.size(); ++i)
        a.Note(w.twoCharts ? 114 : 5, (4.5 + static_cast<double>(i)) * kNoteLineSpacing,
               houseNote[i], kNoteGrey);
    return w;
}

}  // namespace vek
