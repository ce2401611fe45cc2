// The text viewer on its own (the limit, the empty-file warning, copying,
// the size limits) and as "Help" of the main window in both languages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "../program_texts.h"
#include "display/file_view.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"
#include "gui/frm_view.h"
#include "gui/twips.h"
#include "qt_app.h"

namespace vek::gui {
namespace {

using test::App;

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

class FrmViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(tmp.isValid());
        view = std::make_unique<FrmView>(dialogs);
        view->SetTexts(testing::RealTexts(kEnglish));
    }
    std::string Path(const char* name) const { return tmp.filePath(name).toStdString(); }
    QPlainTextEdit* Box() const { return view->findChild<QPlainTextEdit*>("txbText1"); }
    QPushButton* Button(const char* name) const { return view->findChild<QPushButton*>(name); }

    QTemporaryDir tmp;
    ScriptedDialogs dialogs;
    std::unique_ptr<FrmView> view;
};

TEST_F(FrmViewTest, ShowsUpToTheLimitWholeAndFramesALongerFile) {
    WriteFile(Path("exact.txt"), std::string(65529, 'a'));
    view->SetFilename(Path("exact.txt"));
    view->Display();
    ASSERT_TRUE(view->isVisible());
    EXPECT_TRUE(view->FileDisplayed());
    EXPECT_TRUE(Box()->isReadOnly());
    EXPECT_EQ(Box()->toPlainText(), QString(65529, 'a'));
    EXPECT_EQ(Box()->textCursor().position(), 0);

    WriteFile(Path("longer.txt"), std::string(65530, 'b'));
    view->SetFilename(Path("longer.txt"));
    view->Display();
    // 65530 characters of notes and text, and the two line breaks before the
    // tail note, with CR LF counted as two characters as in a file.
    EXPECT_EQ(CharacterCount(view->ShownText()), 65534);
    QString expected = QString::fromStdString(view->ShownText());
    expected.replace("\r\n", "\n");
    EXPECT_EQ(Box()->toPlainText(), expected);
    EXPECT_TRUE(Box()->toPlainText().startsWith(
        "NOTE: This file is too large to display entirely in this textbox.\n"));
    EXPECT_TRUE(Box()->toPlainText().endsWith(
        "b\n\nNOTE: Entire contents of file have not been displayed.\n"));
    EXPECT_EQ(dialogs.asked().size(), 0u);
}

TEST_F(FrmViewTest, LoadsOncePerDisplay) {
    WriteFile(Path("a.txt"), "first");
    view->SetFilename(Path("a.txt"));
    view->Display();
    WriteFile(Path("a.txt"), "second");
    view->Display();  // back to the window: no new read
    EXPECT_EQ(Box()->toPlainText(), "first");
    Button("cmdClose")->click();
    EXPECT_FALSE(view->isVisible());
    view->Display();  // a new display reads again
    EXPECT_EQ(Box()->toPlainText(), "second");
}

TEST_F(FrmViewTest, EmptyOrMissingFileIsReportedAndTheViewerCloses) {
    WriteFile(Path("empty.txt"), "");
    view->SetFilename(Path("empty.txt"));
    view->Display();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    const auto& asked = dialogs.asked()[0];
    EXPECT_EQ(asked.text, QString::fromStdString("The file " + Path("empty.txt") + " is empty."));
    EXPECT_EQ(asked.title, "Empty file");
    EXPECT_EQ(asked.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(view->FileDisplayed());

    dialogs.Clear();
    view->SetTexts(testing::RealTexts(kGerman));
    view->SetFilename(Path("missing.txt"));
    view->Display();
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].text,
              QString::fromStdString("Die Datei " + Path("missing.txt") +
                                     " kann nicht gelesen werden: sie ist nicht vorhanden."));
    EXPECT_EQ(dialogs.asked()[0].title, "Fehler beim Lesen der Datei");
    EXPECT_FALSE(view->isVisible());
}

TEST_F(FrmViewTest, CopyButtonFollowsTheSelection) {
    WriteFile(Path("c.txt"), "Sun trine Moon\nMars square Saturn\n");
    view->SetFilename(Path("c.txt"));
    view->Display();
    QPushButton* copy = Button("cmdCopyToClipboard");
    ASSERT_TRUE(copy->isVisible());
    EXPECT_EQ(copy->text(), "Copy to clipboard");
    EXPECT_EQ(Twips::Width(copy), 3270);

    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    Box()->setTextCursor(cursor);
    EXPECT_EQ(copy->text(), "Copy selected text to clipboard");
    EXPECT_EQ(Twips::Width(copy), 4425);
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "Sun");
    EXPECT_EQ(copy->text(), "Copy to clipboard");
    EXPECT_EQ(Twips::Width(copy), 3270);

    cursor.clearSelection();
    Box()->setTextCursor(cursor);
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), "Sun trine Moon\nMars square Saturn\n");

    // Hidden when the caller asks.
    view->hide();
    view->SetCopyToClipboardInvisible(true);
    view->Display();
    EXPECT_FALSE(copy->isVisible());
}

TEST_F(FrmViewTest, SizeLimitsAndLayout) {
    WriteFile(Path("s.txt"), "x");
    view->SetFilename(Path("s.txt"));
    view->Display();
    Twips::Resize(view.get(), 5000, 1000);
    QApplication::processEvents();
    EXPECT_EQ(Twips::Width(view.get()), 8000);
    EXPECT_EQ(Twips::Height(view.get()), 2000);

    Twips::Resize(view.get(), 12000, 6000);
    QApplication::processEvents();
    EXPECT_EQ(Twips::Width(Box()), 12000 - 450);
    EXPECT_EQ(Twips::Height(Box()), 6000 - 1200);
    const int boxBottom = Twips::Top(Box()) + Twips::Height(Box());
    QPushButton* copy = Button("cmdCopyToClipboard");
    QPushButton* close = Button("cmdClose");
    EXPECT_EQ(Twips::Top(copy), boxBottom + 100);
    EXPECT_EQ(Twips::Top(close), boxBottom + 100);
    EXPECT_EQ(Twips::Left(copy), Twips::Left(Box()));
    EXPECT_EQ(Twips::Left(close) + Twips::Width(close), Twips::Left(Box()) + Twips::Width(Box()));
}

TEST_F(FrmViewTest, EscapeClosesTheViewerAndTheButtonsFollowTheLanguage) {
    WriteFile(Path("e.txt"), "Sun trine Moon\n");
    view->SetFilename(Path("e.txt"));
    view->Display();
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(Button("cmdClose")->text(), "Close");

    // An open viewer takes the other language's captions at once.
    view->SetTexts(testing::RealTexts(kGerman));
    EXPECT_EQ(Button("cmdClose")->text(), "Schließen");
    QPushButton* copy = Button("cmdCopyToClipboard");
    EXPECT_EQ(copy->text(), "In die Zwischenablage kopieren");
    // Each caption fits its button.
    EXPECT_GE(copy->width(), copy->sizeHint().width());
    EXPECT_GE(Button("cmdClose")->width(), Button("cmdClose")->sizeHint().width());
    QTextCursor cursor = Box()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    Box()->setTextCursor(cursor);
    EXPECT_EQ(copy->text(), "Markierten Text in die Zwischenablage kopieren");
    EXPECT_GE(copy->width(), copy->sizeHint().width());

    // Escape in the text, or on the window, closes it and ends the display.
    QTest::keyClick(Box(), Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(view->FileDisplayed());
    view->Display();
    ASSERT_TRUE(view->isVisible());
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
    // Other keys do not.
    view->Display();
    QTest::keyClick(Box(), Qt::Key_A);
    QTest::keyClick(Box(), Qt::Key_Escape, Qt::ShiftModifier);
    EXPECT_TRUE(view->isVisible());
}

// "Help" in the main window.
class Help : public test::MainWindowTest<> {};

TEST_F(Help, ShowsTheHelpFileOfTheInterfaceLanguageInOneViewer) {
    FrmMain& window = Start();
    ASSERT_TRUE(window.StartupCompleted());
    window.show();

    QPushButton* help = window.findChild<QPushButton*>("cmdHelp");
    ASSERT_NE(help, nullptr);
    window.ApplyLanguage(kGerman);
    EXPECT_EQ(help->text(), "Hilfe");
    help->click();
    FrmView* viewer = window.Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Filename(), std::string(VEK_BIN_DIR) + "/vek_help_de.txt");
    EXPECT_EQ(viewer->windowTitle(), "Hilfe");
    const auto* box = viewer->findChild<QPlainTextEdit*>("txbText1");
    EXPECT_TRUE(box->toPlainText().contains("Benutzerhandbuch"));
    EXPECT_FALSE(viewer->findChild<QPushButton*>("cmdCopyToClipboard")->isVisible());
    // With VEK_SCREENSHOT_DIR set, the viewer is saved there to be looked at.
    if (const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR"); !dir.isEmpty())
        viewer->grab().save(dir + "/help-viewer-de.png");
    // Laid over the main window.
    EXPECT_EQ(Twips::Width(viewer), Twips::Width(&window) - 200);
    EXPECT_EQ(Twips::Height(viewer), std::max(2000, Twips::Height(&window) - 480));

    window.ApplyLanguage(kEnglish);
    help->click();
    EXPECT_EQ(window.Viewer(), viewer);
    EXPECT_EQ(viewer->Filename(), std::string(VEK_BIN_DIR) + "/vek_help.txt");
    EXPECT_EQ(viewer->windowTitle(), "Help");
    EXPECT_TRUE(box->toPlainText().contains("User manual"));
    EXPECT_FALSE(box->toPlainText().contains("Benutzerhandbuch"));
    EXPECT_EQ(dialogs.asked().size(), 0u);
}

TEST_F(Help, TheManualLinkOpensTheInstalledPageOrSaysWhyNot) {
    std::vector<QUrl> opened;
    bool browserPresent = true;
    env.openUrl = [&](const QUrl& url) {
        opened.push_back(url);
        return browserPresent;
    };
    FrmMain& window = Start();
    ASSERT_TRUE(window.StartupCompleted());
    window.show();
    window.ShowWorldTransitsNow();
    QLabel* label = window.findChild<QLabel*>("lblUserManual");
    QLabel* link = window.findChild<QLabel*>("lblURL");
    ASSERT_NE(label, nullptr);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(link->isVisible());
    EXPECT_EQ(label->text(), "User manual:");
    // The link reads what a click does, not a file path; its tool tip names
    // the page of the interface language.
    const auto shownText = [](const QLabel* l) {
        QTextDocument doc;
        doc.setHtml(l->text());
        return doc.toPlainText();
    };
    EXPECT_EQ(shownText(link), "open in the web browser");
    EXPECT_TRUE(link->toolTip().endsWith("/vek_help.html"));
    EXPECT_GE(Twips::Left(link), Twips::Left(label) + Twips::Width(label));

    // The page exists, made from the help file at build time.
    const std::string page = std::string(VEK_BIN_DIR) + "/vek_help.html";
    std::ifstream html(page);
    ASSERT_TRUE(html.good());
    const std::string content((std::istreambuf_iterator<char>(html)), {});
    EXPECT_NE(content.find("<html lang=\"en\">"), std::string::npos);
    EXPECT_NE(content.find("User manual"), std::string::npos);
    EXPECT_NE(content.find("chart &lt;compute arguments&gt; --out"), std::string::npos);
    EXPECT_EQ(content.find("<compute arguments>"), std::string::npos);

    emit link->linkActivated(link->text());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(page)));
    EXPECT_EQ(dialogs.asked().size(), 0u);

    window.ApplyLanguage(kGerman);
    EXPECT_EQ(label->text(), "Benutzerhandbuch:");
    EXPECT_EQ(shownText(link), "im Webbrowser öffnen");
    EXPECT_TRUE(link->toolTip().endsWith("/vek_help_de.html"));
    EXPECT_GE(Twips::Left(link), Twips::Left(label) + Twips::Width(label));
    browserPresent = false;
    emit link->linkActivated(link->text());
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_TRUE(opened[1].toLocalFile().endsWith("/vek_help_de.html"));
    ASSERT_EQ(dialogs.asked().size(), 1u);
    // In the interface language, naming the page, with no system's codes.
    EXPECT_EQ(dialogs.asked()[0].title, "Webbrowser kann nicht gestartet werden");
    EXPECT_EQ(dialogs.asked()[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.asked()[0].text, "Das Benutzerhandbuch " + opened[1].toLocalFile() +
                                           " konnte nicht geöffnet werden: Es ist kein Programm "
                                           "zum Anzeigen von Webseiten eingerichtet.");

    // Not while the chart is shown.
    window.findChild<QPushButton*>("cmdToggleGraphic")->click();
    EXPECT_FALSE(link->isVisible());
    window.findChild<QPushButton*>("cmdToggleGraphic")->click();
    EXPECT_TRUE(link->isVisible());
}

}  // namespace
}  // namespace vek::gui
