// Qt's own texts (the buttons of message boxes, the file dialogs) in the
// interface language: German installs Qt's German translation while it is
// chosen; without Qt's translations installed the texts stay English.
#pragma once

#include <QTranslator>
#include <memory>

#include "engine/vek_types.h"

namespace vek::gui {

class QtTranslation {
  public:
    void Apply(Language language);

  private:
    std::unique_ptr<QTranslator> translator_;  // installed while German is chosen
};

}  // namespace vek::gui
