#include "app/program_text.h"
#include "engine/angle_text.h"

namespace vek {

std::string ZodiacLabel(bool sidereal, bool addPeriod) {
    std::string label = ProgramText(sidereal ? 46 : 47);
    if (addPeriod) label += '.';
    return label;
}

}  // namespace vek
