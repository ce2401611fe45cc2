// The viewer's text: the limit and its notes, reading with a bound, and the
// messages for empty and unreadable files in both languages.
#include "config/weblink.h"
#include "display/file_view.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "../program_texts.h"
#include "../temp_folder.h"

namespace vek {
namespace {

using testing::RealTexts;
using testing::TempFolder;

TEST(ViewerText, LimitAndNotes) {
    const std::string whole(kViewerMaxCharacters, 'a');
    EXPECT_EQ(ViewerText(whole), whole);

    // One character more: cut and framed; the notes and the kept text make
    // 65530 characters, the two line breaks before the tail note 4 more.
    const std::string longer = std::string(kViewerMaxCharacters, 'b') + "#";
    const std::string shown = ViewerText(longer);
    EXPECT_EQ(CharacterCount(shown), 65534);
    const std::string head = kViewerHeadNote;
    const std::string tail = kViewerTailNote;
    ASSERT_EQ(shown.substr(0, head.size()), head);
    ASSERT_GE(shown.size(), tail.size() + 4);
    EXPECT_EQ(shown.substr(shown.size() - tail.size() - 4), "\r\n\r\n" + tail);
    const std::string kept =
        shown.substr(head.size(), shown.size() - head.size() - tail.size() - 4);
    EXPECT_EQ(kept, std::string(65530 - head.size() - tail.size(), 'b'));
    EXPECT_EQ(shown.find('#'), std::string::npos);
}

TEST(ViewerText, CountsCharactersNotBytes) {
    // "ä" is two bytes and one character: 65529 of them are shown whole, and
    // a cut never splits one.
    std::string umlauts;
    for (int i = 0; i < kViewerMaxCharacters; ++i) umlauts += "\xC3\xA4";
    EXPECT_EQ(CharacterCount(umlauts), kViewerMaxCharacters);
    EXPECT_EQ(ViewerText(umlauts), umlauts);
    const std::string shown = ViewerText(umlauts + "\xC3\xA4");
    EXPECT_EQ(CharacterCount(shown), 65534);
    EXPECT_NE(shown.find("\xC3\xA4\r\n\r\nNOTE: Entire"), std::string::npos);
    // A stray byte counts as one character.
    EXPECT_EQ(CharacterCount("a\xFF"
                             "b"),
              3);
}

TEST(ReadViewerFile, ReadsBoundedAndReportsFailures) {
    TempFolder dir;
    const std::string text = "Line 1\r\nZeile 2 mit \xC3\xA4\n";
    testing::WriteRaw(dir / "help.txt", text);
    auto read = ReadViewerFile(dir / "help.txt", RealTexts(kEnglish));
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read.value(), text);

    // A large file is read only as far as the viewer can show it.
    testing::WriteRaw(dir / "big.txt", std::string(1'000'000, 'x'));
    auto big = ReadViewerFile(dir / "big.txt", RealTexts(kEnglish));
    ASSERT_TRUE(big);
    EXPECT_LT(big->size(), 300'000u);
    EXPECT_EQ(CharacterCount(ViewerText(big.value())), 65534);
    // The bound is in bytes: a file of as many four-byte characters as the
    // viewer shows is read whole, and one character more still gets the
    // notes, not a silent cut.
    std::string clefs;
    for (int i = 0; i < kViewerMaxCharacters; ++i) clefs += "\xF0\x9D\x84\x9E";
    testing::WriteRaw(dir / "clefs.txt", clefs);
    auto wide = ReadViewerFile(dir / "clefs.txt", RealTexts(kEnglish));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->size(), clefs.size());
    EXPECT_TRUE(wide.value() == clefs);
    testing::WriteRaw(dir / "clefs.txt", clefs + "\xF0\x9D\x84\x9E");
    auto wider = ReadViewerFile(dir / "clefs.txt", RealTexts(kEnglish));
    ASSERT_TRUE(wider);
    EXPECT_NE(ViewerText(wider.value()).find(kViewerTailNote), std::string::npos);

    testing::WriteRaw(dir / "empty.txt", "");
    auto empty = ReadViewerFile(dir / "empty.txt", RealTexts(kEnglish));
    ASSERT_FALSE(empty);
    EXPECT_EQ(empty.error().code, kViewerFileEmpty);
    EXPECT_EQ(empty.message(), "The file " + (dir / "empty.txt") + " is empty.");
    EXPECT_EQ(ViewerErrorTitle(empty.error(), RealTexts(kEnglish)), "Empty file");
    auto emptyDe = ReadViewerFile(dir / "empty.txt", RealTexts(kGerman));
    EXPECT_EQ(emptyDe.message(), "Die Datei " + (dir / "empty.txt") + " ist leer.");
    EXPECT_EQ(ViewerErrorTitle(emptyDe.error(), RealTexts(kGerman)), "Leere Datei");

    auto missing = ReadViewerFile(dir / "none.txt", RealTexts(kEnglish));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.message(),
              "The file " + (dir / "none.txt") + " cannot be read: it does not exist.");
    EXPECT_EQ(ViewerErrorTitle(missing.error(), RealTexts(kEnglish)), "Error reading file");
    auto folder = ReadViewerFile(dir.path(), RealTexts(kGerman));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.message(), "Die Datei " + dir.path() +
                                    " kann nicht gelesen werden: sie ist keine gewöhnliche Datei.");
    EXPECT_EQ(ViewerErrorTitle(folder.error(), RealTexts(kGerman)), "Fehler beim Lesen der Datei");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    auto pipe = ReadViewerFile(dir / "pipe", RealTexts(kEnglish));
    ASSERT_FALSE(pipe);
    EXPECT_NE(pipe.message().find("not a regular file"), std::string::npos);

    // A file name with placeholder marks or "^" is shown as it is.
    auto odd = ReadViewerFile(dir / "a[r2]^b.txt", RealTexts(kEnglish));
    EXPECT_EQ(odd.message(),
              "The file " + (dir / "a[r2]^b.txt") + " cannot be read: it does not exist.");
}

TEST(HelpFilePath, ByLanguage) {
    EXPECT_EQ(HelpFilePath("/opt/vek/", kEnglish), "/opt/vek/vek_help.txt");
    EXPECT_EQ(HelpFilePath("/opt/vek", kGerman), "/opt/vek/vek_help_de.txt");
}

TEST(Weblink, ExtensionsAndLaunchMessages) {
    EXPECT_EQ(FileExtensionOf("/usr/share/vek/vek_help.HTML", true), "html");
    EXPECT_EQ(FileExtensionOf("/usr/share/vek/vek_help.HTML", false), "HTML");
    EXPECT_EQ(FileExtensionOf("/a.b/README", true), "");  // the folder's dot does not count
    EXPECT_EQ(FileExtensionOf("archive.tar.gz", true), "gz");
    EXPECT_EQ(FileExtensionOf("", true), "");

    EXPECT_EQ(BrowserLaunchErrorText(kLaunchNoAssociation, "host/vek/um.htm"),
              "Error launching web browser, error code = 31.\n\nFile extension 'htm' is not "
              "associated with any application program.");
    EXPECT_EQ(BrowserLaunchErrorText(kLaunchOutOfMemory, "x.htm"),
              "Error launching web browser, error code = 8.\n\nOut of memory.");
    EXPECT_EQ(BrowserLaunchErrorText(kLaunchFileNotFound, "x.htm"),
              "Error launching web browser, error code = 2.\n\nPlease try once more.");
    EXPECT_EQ(BrowserLaunchErrorText(5, "x.htm"), "Error launching web browser, error code = 5.");

    // What the window says: the page, in the interface language.
    const ProgramTexts de = testing::RealTexts(kGerman);
    EXPECT_EQ(ManualNotOpenedText(de, "/usr/share/vek/vek_help_de.html"),
              "Das Benutzerhandbuch /usr/share/vek/vek_help_de.html konnte nicht geöffnet werden: "
              "Es ist kein Programm zum Anzeigen von Webseiten eingerichtet.");
    EXPECT_EQ(ManualNotOpenedTitle(de), "Webbrowser kann nicht gestartet werden");
    EXPECT_EQ(ManualNotOpenedTitle(testing::RealTexts(kEnglish)), kBrowserLaunchErrorTitle);

    EXPECT_EQ(ManualPagePath("/usr/share/vek/", kEnglish), "/usr/share/vek/vek_help.html");
    EXPECT_EQ(ManualPagePath("/usr/share/vek/", kGerman), "/usr/share/vek/vek_help_de.html");
}

}  // namespace
}  // namespace vek
