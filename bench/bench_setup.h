// What the benchmarks share: the program text and the engine loaded from the
// program folder, as the programs load them, and for the painting benchmarks
// a Qt application on the offscreen platform with the chart fonts.
#pragma once

#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "config/program_text.h"
#include "engine/engine.h"
#include "paint/chart_painter.h"
#include "util/paths.h"

namespace vek::bench {

// False, with the reason on stderr, when the program text or the Pluto table
// cannot be loaded.
inline bool LoadCore(ProgramTextTable& table, Engine& engine) {
    const std::string folder = ProgramFolder();
    Result<ProgramTextTable> loaded = LoadProgramText(folder);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", loaded.message().c_str());
        return false;
    }
    table = std::move(loaded).value();
    engine.Initialize(folder);
    if (const Status pluto = engine.LoadPlutoTable(); !pluto) {
        std::fprintf(stderr, "%s\n", pluto.message().c_str());
        return false;
    }
    return true;
}

// Once per program: fonts and images need a QGuiApplication.
inline void StartOffscreenPainting() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    paint::InstallChartFonts();
}

}  // namespace vek::bench
