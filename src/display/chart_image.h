// The chart wheel as it is saved as an image: the legend over-printed in the
// background colour, the colours turned for a white background when the
// user asks for it, and the annotation: who made the chart, the dates of the
// charts shown, the zodiac, the hidden inner-body aspects, the version and
// the program's home page. Annotation positions are pixels of the image at
// 15 twips a pixel, as the annotation has always been laid out.
#pragma once

#include <array>
#include <string>

#include "config/program_text.h"
#include "display/chart_wheel.h"
#include "time/date_rows.h"

namespace vek {

// The colour a pixel of the chart takes in an image with a white
// background: white and near-white (glyphs, rim) black; the direct glyphs
// of the second chart light grey; the black disc white and yellow amber;
// every other pure grey but the background (224), 128 and black light grey;
// any other colour unchanged.
Color WhiteBackgroundColor(Color c);

inline constexpr Color kNoteGrey = Rgb(160, 160, 160);
inline constexpr Color kNoteBlue = Rgb(0, 0, 255);
inline constexpr int kNoteLineSpacing = 17;   // pixels

// The home page, as the annotation names it: "/vek/vek.htm" in English,
// "/vek/de/vek.htm" in German, on the program's host.
inline constexpr const char* kHomePageHost = "www.vantrel.de";
std::string HomePagePath(Language language);


struct SavedImageInput {
    ProgramTexts texts;                 // in the current language, which the annotation shows
    bool whiteBackground = false;       // "Save image with white background"
    bool suppressInnerAspects = false;  // "Don't show aspects including inner planets"
    bool sidereal = false;
    std::string version;     // the window's version text, e.g. "0.12"
    std::string orbSummary;  // two-chart modes: the orb summary, trimmed
    const DateRows* rows = nullptr;
};

// The orb summary the two-chart annotation shows for a mode: the title's
// orb summary without a title and without a full stop, trimmed, in the
// language of `texts`.
std::string AnnotationOrbSummary(const ProgramTexts& texts, Mode mode, const OrbSummary& orbs);

// Takes the legend out of a drawing. The saved image has none: over-printing
// each line on an opaque box of the background colour would also erase what
// lies under it on the disc, so the lines are removed instead and the disc,
// lines and glyphs beneath them stay whole.
void RemoveLegend(ChartWheel& w);

// The saved image of a drawn wheel: the legend removed, the colours turned
// for a white background when asked, the annotation added.
ChartWheel SavedChartImage(const ChartWheel& shown, const SavedImageInput& in);

}  // namespace vek
