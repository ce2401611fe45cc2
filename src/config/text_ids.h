// The numbers of the program texts the code uses (data/vek.dat), by name.
// Texts that form a run (one per date slot, per date error, per stepping
// interval, per sort entry) are reached from their first entry with
// TextIdAt; the entries after the first are named too, so that every number
// the code can ask for is listed here and checked against vek.dat.
#pragma once

namespace vek {

enum TextId : int {
    // The window
    kTextProgramName = 1,        // "VEK"
    kTextPlutoTableMissing = 2,  // the message when pluto.slx cannot be read
    kTextDataMissingTitle = 3,   // its title
    kTextWorldDate = 4,          // slot names 4..6: World date, 1st and 2nd birthdate
    kTextFirstBirthdate = 5,
    kTextSecondBirthdate = 6,
    kTextFound = 7,  // "found", after a pattern's name
    kTextClear = 8,
    kTextWorldTransitsButton = 9,
    kTextNatal1Button = 10,
    kTextNatal2Button = 11,
    kTextPersonal1Button = 12,
    kTextPersonal2Button = 13,
    kTextSynastry = 14,  // button, corner cell and report subject
    kTextSave = 15,
    kTextQuit = 16,
    kTextHelp = 17,  // the help button, and the viewer's caption when it shows help
    kTextNow = 18,
    kTextCompute = 19,
    kTextConfigure = 20,  // the button, and the caption of the configuration dialog
    kTextForward = 21,
    kTextBack = 22,

    // Titles of the table and the chart
    kTextWorldTransitsTitle = 23,
    kTextNatal1Title = 24,
    kTextNatal2Title = 25,
    kTextWorldChartTitle = 26,
    kTextNatal1ChartTitle = 27,
    kTextNatal2ChartTitle = 28,
    kTextPersonal1Title = 29,
    kTextPersonal2Title = 30,
    kTextSynastryTitle = 31,
    kTextAspectHint = 32,  // "Double-click an aspect to see ..."
    kTextOrb = 33,
    kTextOrbs = 34,
    kTextOrbsTo = 35,  // "to" between the smallest and the largest orb

    // Command buttons of the chart
    kTextRun = 36,
    kTextShowChart = 37,
    kTextSaveAs = 39,  // "Save as ...", the state file
    kTextLoadFrom = 40,
    kTextShowTable = 41,
    kTextSaveImageAs = 42,
    kTextStop = 43,  // the run button while a run is in progress
    kTextReport = 38,

    // Zodiac and report titles
    kTextSiderealZodiacLower = 44,  // the transit graph's title: "sidereal zodiac"
    kTextTropicalZodiacLower = 45,
    kTextSiderealZodiac = 46,
    kTextTropicalZodiac = 47,
    kTextSidereal = 48,  // the saved chart's zodiac note, first line
    kTextTropical = 49,
    kTextZodiac = 50,          // its second line
    kTextLocalDatesNote = 51,  // "Dates are local dates in the time zone of ..."
    kTextMoonEstimate = 53,    // "(Moon: about 12 hours within orb)"
    kTextNatalMark = 56,       // "nat." before a natal body
    kTextAnd = 57,
    kTextOn = 58,

    // Sort entries of the durations report, 60..66
    kTextSortFirstPlanet = 60,
    kTextSortAspect = 61,
    kTextSortExactness = 62,
    kTextSortSecondPlanet = 63,
    kTextSortBeginning = 64,
    kTextSortEnd = 65,
    kTextSortDuration = 66,
    kTextSortNatalPlanet = 67,  // personal transits, in place of 60
    kTextTransits = 68,         // personal transits, in place of 63; corner cell

    // Corner cells of the square table
    kTextCornerFirstNatal = 69,
    kTextCornerSecondNatal = 70,
    kTextCornerNatal = 71,

    // The natal report
    kTextReportOneAspect = 72,    // "There is only one aspect in this [natal chart]."
    kTextReportAspectCount = 73,  // "There are 20 aspects in this [natal chart]."
    kTextReportClosest = 74,
    kTextCornerFirstChart = 75,
    kTextCornerSecondChart = 76,
    kTextNatalChart = 77,
    kTextReportAlsoExact = 78,
    kTextReportNextClosest = 79,
    kTextReportFromExact = 80,  // "[5 degrees] from exact."
    kTextReportRemaining = 81,
    kTextThereIsOne = 82,
    kTextThereIs = 83,
    kTextThereAre = 84,
    kTextToNatalChartOf = 85,
    kTextExactToArcMinute = 86,
    kTextAllPatterns = 87,

    // The transit graph's title: "in", "to", "orb"
    kTextGraphIn = 89,
    kTextGraphTo = 90,
    kTextGraphOrb = 91,

    // The annotation of a saved chart image
    kTextNoteMadeWith = 92,  // three lines 92..94: "Chart made with VEK," ...
    kTextNoteProgramFor = 93,
    kTextNoteAspectPatterns = 94,
    kTextNoteFirstBirthdate = 95,  // date block labels (the World date's is 4)
    kTextNoteSecondBirthdate = 96,
    kTextNotePersonalTransits = 97,
    kTextNoteBothCharts = 98,  // heading of the hidden aspects, two charts
    kTextNoteTransitAndNatal = 99,
    kTextNoteInnerBodies = 100,  // "Su, Me, Ve, Ma"
    kTextNoteAspectsHidden = 101,
    kTextNoteInnerAspects = 102,  // one chart: "Aspects of Su, Me, Ve, Ma"
    kTextNoteAreHidden = 103,

    // The chart's legend
    kTextLegendRetrograde = 104,
    kTextLegendCloseAspect = 105,
    kTextLegendRightClick = 106,
    kTextLegendAriesAt = 107,  // "0° Aries at" / "the right"
    kTextLegendAriesRight = 108,
    kTextLegendTransiting = 109,
    kTextLegendNatal = 110,
    kTextLegendRetrogradeNatal = 111,
    kTextLegendRetrogradeTransit = 112,
    kTextLegendFirstBirthdate = 113,
    kTextLegendSecondBirthdate = 114,
    kTextLegendRetrogradeSecond = 115,
    kTextLegendRetrogradeFirst = 116,

    // The run dialog
    kTextCancel = 117,
    kTextRunUntilStopped = 118,
    kTextRunUntilFinding = 119,
    kTextRunQuickly = 120,
    kTextFindAtLeast = 121,

    // Summary, messages
    kTextRunTitle = 122,
    kTextNoAspects = 126,
    kTextAspectsInTotal = 127,  // "N aspects in total."
    kTextStateSaved = 128,
    kTextSavedPrefix = 129,     // "Saved:" before the path in the status line
    kTextSaveStateTitle = 130,  // the file dialog of "Save as ..."
    kTextStateFiles = 131,      // the filter name of state files
    kTextSaveChartTitle = 132,  // the file dialog of "Save image as ..."
    kTextPngImages = 133,
    kTextImageSaved = 134,
    kTextImageNotSaved = 135,
    kTextDateIncomplete = 145,  // date errors 145..148 for codes -1..-4
    kTextDateInvalid = 146,
    kTextDateTooEarly = 147,
    kTextDateTooLate = 148,
    kTextSaveBeforeQuitting = 149,
    kTextInputErrorTitle = 153,
    kTextMeanDeviation = 154,

    // Aspect explanations
    kTextTransiting = 155,         // "Transiting" before the transiting body
    kTextNatalExplanation = 156,   // "natal" before the natal body
    kTextMoonExplanation = 157,    // the Moon's fixed text; "12" becomes 4 × the orb
    kTextExplanationGerman = 158,  // the German explanation with its placeholders

    // The durations report
    kTextDurationsCaption = 159,  // "Durations:"
    kTextWorldTransitsLower = 160,
    kTextPersonalTransitsLower = 161,
    kTextDurationsOfAllCurrent = 162,  // the question "Show the durations of all current"
    kTextDatesFrom = 165,
    kTextDatesTo = 166,
    kTextUnknownDateExplanation = 167,  // a date the explanation cannot find
    kTextUnknown = 168,
    kTextBetween = 169,
    kTextIntervalHalfHour = 170,  // stepping intervals 170..174
    kTextOneDay = 171,
    kTextOneWeek = 172,
    kTextOneMonth = 173,
    kTextOneYear = 174,
    kTextDays = 175,
    kTextYears = 176,
    kTextNatalReportCaption = 177,
    kTextSynastryReportCaption = 178,
    kTextFor = 179,
    kTextShowDuration = 52,
    kTextSortBy = 59,
    kTextClose = 184,
    kTextCopyToClipboard = 185,

    // Language, publisher, confirmations
    kTextLanguage = 187,
    kTextEnglish = 200,
    kTextGerman = 201,
    kTextPublisher = 310,  // "Vantrel"
    kTextClearAllEntriesOf = 342,
    kTextClearWorldDateQuestion = 343,  // per slot 343..345
    kTextClearFirstBirthdateQuestion = 344,
    kTextClearSecondBirthdateQuestion = 345,
    kTextChart = 346,         // title of the crowded-chart warning
    kTextChartCrowded = 347,  // "There is no room left for every planet symbol ..."

    // The transit graph
    kTextGraphDateTime = 348,  // the transit graph's read-back: "[date], [time]"
    kTextGraphDistance = 349,  // "[exactness]"
    kTextTransitGraph = 350,   // its title
    kTextGraphTip = 351,       // the graph's tool tip
    kTextNoTransitsToReport = 382,
    kTextNoAspectsToReport = 383,
    kTextLoadStateTitle = 384,  // the file dialog of "Load from ..."
    kTextLoadingFailed = 385,
    kTextLoadedPrefix = 387,  // "Loaded:" before the path in the status line
    kTextSaveImageTip = 388,  // tool tip of "Save image as ..."
    kTextRetrograde = 389,
    kTextRestore = 398,
    kTextStateRestored = 399,

    // The configuration dialog (and kTextCancel above)
    kTextSiderealOption = 352,  // the zodiac options
    kTextTropicalOption = 353,
    kTextProportionOf = 354,  // three lines: "Proportion of", "above orbs", "for use with"
    kTextAboveOrbs = 355,
    kTextForUseWith = 356,
    kTextSetOrbClickOnLines = 357,
    kTextSetAllNonzeroOrbs = 358,
    kTextOrbForMidpoints = 359,
    kTextUseBoldface = 360,
    kTextOneDegree = 361,
    kTextOfOrb = 362,
    kTextDisplayZodiacSectors = 363,
    kTextNorthAmericanZones = 364,
    kTextSuppressInnerPlanetAspects = 365,
    kTextIncludeMoon = 366,
    kTextWhiteImageBackground = 367,
    kTextResetToDefault = 368,
    kTextUseSettings = 369,
    kTextKeepSelectedZodiac = 370,
    kTextHide = 372,
    kTextSetAllOrbsTitle = 390,
    kTextSetAllOrbsQuestion = 391,    // "NEW_ORB" becomes the orb, as 5°
    kTextConfigurationClosing = 392,  // three lines: 392, 393, 394
    kTextAllSettingsReset = 393,
    kTextAndUsedAtOnce = 394,
    kTextResetQuestion = 395,  // two lines: 395, 396
    kTextDoYouWantToContinue = 396,

    // The file viewer
    kTextFileEmpty = 430,  // "The file [r1] is empty."
    kTextFileEmptyTitle = 431,
    kTextFileUnreadable = 432,  // "The file [r1] cannot be read: [r2]"
    kTextFileReadErrorTitle = 433,
    kTextFileMissing = 434,  // reasons, the [r2] of 432
    kTextFileAccessDenied = 435,
    kTextFileNotRegular = 436,
    kTextFileSystemError = 437,  // "the system reports error [r1]."
    kTextUserManual = 438,       // the label before the manual's link
    kTextSvgImages = 439,        // the image dialog's second filter
    kTextCopySelectedToClipboard = 440,  // the viewer's copy button with a selection
    kTextManualNotOpened = 441,          // "The user manual [r1] could not be opened ..."
    kTextManualNotOpenedTitle = 442,
    kTextAllFiles = 443,              // the last filter of "Load from ..."
    kTextSaveChartImageTitle = 444,   // the image dialog while the chart is shown
    kTextSaveGraphImageTitle = 445,   // ... while the transit graph is shown
    kTextPngImagesScaled = 446,       // "PNG images, [r1] times the size"
    kTextAspectLineNamed = 447,       // "[r1] [r2] [r3], [r4] from exact"
    kTextNatalBody = 448,             // "[r1] (natal)": chart B of personal transits
    kTextTransitingBody = 449,        // "[r1] (transit)": chart A of personal transits
    kTextFirstBirthdateBody = 450,    // "[r1] (1st)": chart A of synastry
    kTextSecondBirthdateBody = 451,   // "[r1] (2nd)": chart B of synastry
    kTextManualLinkText = 460,   // the manual's link: what a click does
    kTextEphemerisInUse = 461,   // "Ephemeris: [r1]", the status line's tool tip
    kTextSearchEndsThere = 470,  // vek-cli find: a step refused by the dates
    kTextSearchProgress = 471,   // vek-cli find: years done, stretches found
    kTextFirstStepOnly = 472,    // vek-cli find --first: the stretch's length unknown
    // Date rows with a time to the minute or a named zone
    kTextDateAmbiguous = 500,      // date error: a skipped or doubled local time
    kTextDateZoneUnknown = 501,    // date error: a zone the database lacks
    kTextOtherTime = 502,          // the time list's last entry: "..."
    kTextOtherZone = 503,          // the zone list's last entry: "Other zone ..."
    kTextTimeAndZoneTitle = 504,   // the chooser's caption: "[r1]: time and zone"
    kTextTimeLabel = 505,          // "Time (HH:MM):"
    kTextZoneSearchLabel = 506,    // "Zone (type a part of its name, or +05:45):"
    kTextBadMinuteTime = 507,      // "The time \"[r1]\" is not ..."
    kTextBadZone = 508,            // "\"[r1]\" is neither a zone ... nor an offset ..."
    kTextOffsetQuestionTitle = 509,  // the question's title: "Which offset?"
    kTextTimeSkipped = 510,        // "[r1], [r2]: the clocks of [r3] skipped this time. ..."
    kTextTimeTwice = 511,          // "[r1], [r2]: the clocks of [r3] showed this time twice. ..."
    kTextOK = 512,                 // "OK"
    kTextZoneChooserEmpty = 513,   // the chooser's list when nothing matches
    kTextSettingsUnreadable = 480,       // start-up: "The settings file [r1] cannot be read: [r2] ..."
    kTextSettingsTooLarge = 481,         // its reason: "it is larger than [r1] bytes."
    kTextSettingsUnreadableTitle = 482,  // its title
    // Places, houses and the extra points
    kTextMeanNode = 514,           // "Mean Node"
    kTextTrueNode = 515,           // "True Node"
    kTextChiron = 516,             // "Chiron"
    kTextAscendant = 517,          // "Ascendant"
    kTextMidheaven = 518,          // "Midheaven"
    kTextHouseSystemFirst = 519,   // "Placidus" .. 525 "Porphyry", in HouseSystem order
    kTextHousesUndefined = 526,    // "[r1] houses are undefined at latitude [r2] ..."
    kTextPointNotCovered = 527,    // "[r1] has no position on [r2]: ..."
    kTextHousesHeading = 528,      // the natal report's section: "Houses ([r1])"
    kTextInHouse = 529,            // "[r1] in house [r2]"
    kTextAscendantLabel = 530,     // the chart wheel's "ASC"
    kTextMidheavenLabel = 531,     // the chart wheel's "MC"
    kTextMeanNodeSymbol = 532,     // the chart wheel's symbols of the points
    kTextTrueNodeSymbol = 533,
    kTextChironSymbol = 534,
    kTextPlaceLabel = 535,         // the chooser's "Place (a city, or coordinates ...):"
    kTextPlaceNoMatch = 536,       // its list when no city matches
    kTextBadPlace = 537,           // "\"[r1]\" is neither a city of the list nor coordinates ..."
    kTextAtlasUnreadable = 538,    // "The atlas cannot be read: [r1]"
    kTextPlaceToolTip = 539,       // "Place: [r1]"
    kTextShowHouses = 540,         // chkShowHouses
    kTextHouseSystemLabel = 541,   // the label of cboHouseSystem
    kTextLunarNodes = 542,         // chkLunarNodes (chkChiron: kTextChiron)
    kTextHouseNamed = 543,         // the chart wheel's name of a house: "House [r1]"
    kTextEntersOrb = 490,   // vek-cli durations --exact: before the orb entry's instant
    kTextExactPass = 491,   // ... before each exact pass
    kTextLeavesOrb = 492,   // ... before the orb exit's instant
    kTextExactTimes = 493,      // the report window's check box "Exact times"
    kTextSortPerfection = 494,  // its sort entry: by the first exact pass
    kTextNotExactInPass = 495,  // a pass through the orb without an exact aspect
    kTextTimesInZone = 496,     // the explanation's note of the named zone: "Times in [r1]."
};

// Entry `offset` of the run of texts that starts at `first`.
constexpr TextId TextIdAt(TextId first, int offset) {
    return static_cast<TextId>(static_cast<int>(first) + offset);
}

}  // namespace vek
