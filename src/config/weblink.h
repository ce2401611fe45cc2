// Opening the user manual in the web browser: where the page is, and the
// message when no program opens it.
#pragma once

#include <string>

#include "config/program_text.h"
#include "engine/vek_types.h"

namespace vek {

// The user manual as a web page in a data folder, made from the help file
// at build time: vek_help_de.html for German (1), vek_help.html otherwise.
std::string ManualPagePath(const std::string& folder, Language language);

// The extension of a path: the part of its last component after the last
// "."; empty when that component holds no dot. In lower case when asked.
std::string FileExtensionOf(const std::string& path, bool lower);

// Code of a failed start: no program is associated with the target.
inline constexpr int kLaunchNoAssociation = 31;
inline constexpr int kLaunchOutOfMemory = 8;
inline constexpr int kLaunchFileNotFound = 2;

// The message of a failed start of the browser with the given code.
std::string BrowserLaunchErrorText(int code, const std::string& target);
inline constexpr const char* kBrowserLaunchErrorTitle = "Cannot launch web browser";

// What the window says when no program opened the user manual's page: the
// page and the likely reason, in the interface language, and its title.
std::string ManualNotOpenedText(const ProgramTexts& texts, const std::string& page);
std::string ManualNotOpenedTitle(const ProgramTexts& texts);

}  // namespace vek
