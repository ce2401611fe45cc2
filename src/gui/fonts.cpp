#include "gui/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

// The resource file lives in the static vekgui library; the program and the
// tests register it explicitly so that the linker keeps it.
static void InitVekResources() {
    Q_INIT_RESOURCE(vek);
}

namespace vek::gui {

Status InstallProgramFonts() {
    static int fontId = -2;
    if (fontId == -2) {
        InitVekResources();
        fontId = QFontDatabase::addApplicationFont(":/fonts/StarfontSans.ttf");
        // Windows font names the window uses, mapped to fonts of the same
        // metrics; the generic families stand behind them.
        QFont::insertSubstitutions(kControlFontFamily, {"Liberation Sans", "Arimo", "DejaVu Sans"});
        QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arimo", "DejaVu Sans"});
        QFont::insertSubstitutions("Courier New",
                                   {"Liberation Mono", "Cousine", "DejaVu Sans Mono"});
    }
    if (fontId < 0) return Fail("The glyph font could not be loaded from the program's resources.");
    const QStringList families = QFontDatabase::applicationFontFamilies(fontId);
    if (!families.contains(kGlyphFontFamily)) {
        return Fail("The glyph font has the family name \"" + families.join(", ").toStdString() +
                    "\", not \"" + kGlyphFontFamily + "\".");
    }
    return Ok();
}

}  // namespace vek::gui
