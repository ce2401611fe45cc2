#include "display/version.h"

#include "platform/ephemeris.h"

namespace vek {

std::string ProgramVersionText() {
    return VEK_VERSION_TEXT;
}

std::string VersionReport(const std::string& program, const std::string& dataFolder) {
    // The data folder may hold ephemeris files of its own, which come first.
    platform::set_data_folder(dataFolder);
    return program + " " + ProgramVersionText() + "\nEphemeris: " + platform::ephemeris_in_use() +
           "\n";
}

}  // namespace vek
