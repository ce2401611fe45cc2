// The text the file viewer shows: a text file read with a size bound, cut to
// what the viewer's box holds and framed by notes when it is longer, and the
// messages for a file that is empty or cannot be read, in the interface
// language. The window (gui/frm_view) only binds this to its controls.
#pragma once

#include <cstddef>
#include <string>

#include "config/program_text.h"
#include "util/result.h"

namespace vek {

// The most characters the viewer shows of a file unchanged; a longer file is
// cut and framed so that the notes and the kept text come to
// kViewerFramedLength characters, the two line breaks before the tail note
// on top.
inline constexpr int kViewerMaxCharacters = 65529;
inline constexpr int kViewerFramedLength = 65530;

// The notes around a cut file; line breaks are CR LF and count as two
// characters, as in the files the viewer shows.
extern const char* const kViewerHeadNote;
extern const char* const kViewerTailNote;

// Number of characters (Unicode code points; a byte that is no well-formed
// UTF-8 counts as one) in s.
int CharacterCount(const std::string& s);

// The text the viewer shows for a file's text: the text itself when it has at
// most kViewerMaxCharacters characters, else the head note, the first
// characters of the text, two line breaks and the tail note.
std::string ViewerText(const std::string& fileText);

// Failure codes of ReadViewerFile besides the system's error numbers.
inline constexpr int kViewerFileEmpty = -62;

// Reads a regular file for the viewer: never more than the viewer can show
// (with room for the widest characters), so a huge file is not read whole.
// Fails with code kViewerFileEmpty for an empty file, else with the
// system's error number; the message names the file and the reason in the
// language of `texts`.
Result<std::string> ReadViewerFile(const std::string& path, const ProgramTexts& texts);

// Why a file cannot be read, from the system's error number, as the end of
// a sentence in the language of `texts` ("access is denied.").
std::string ReadFailureReason(int code, const ProgramTexts& texts);

// What the window says at start-up when the settings file `path` cannot be
// read (`error` as the settings store gives it, EFBIG when it is larger
// than `maxBytes`), in the language of `texts`.
std::string SettingsUnreadableText(const std::string& path, const Error& error,
                                   std::size_t maxBytes, const ProgramTexts& texts);

// The title of the box that shows a failure of ReadViewerFile.
std::string ViewerErrorTitle(const Error& error, const ProgramTexts& texts);

// The help file of a language in a folder: vek_help_de.txt for German (1),
// vek_help.txt otherwise.
std::string HelpFilePath(const std::string& folder, Language language);

}  // namespace vek
