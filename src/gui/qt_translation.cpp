#include "gui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace vek::gui {

void QtTranslation::Apply(Language language) {
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    if (language != kGerman) return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
}

}  // namespace vek::gui
