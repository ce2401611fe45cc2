// What the windows remember between starts: the folder of each kind of file
// dialog, the default suffix of a saved state, and a window's place.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include "gui/dialogs.h"
#include "gui/places.h"
#include "platform/settings_store.h"
#include "qt_app.h"

namespace vek::gui {
namespace {

using test::App;

TEST(FileFolders, StartInDocumentsThenInTheLastFolderOfTheirKindAlsoAfterARestart) {
    App();
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString docs = tmp.filePath("Documents");
    const QString states = tmp.filePath("states");
    const QString images = tmp.filePath("images");
    for (const QString& d : {docs, states, images}) ASSERT_TRUE(QDir().mkpath(d));
    platform::SettingsStore store(tmp.filePath("config").toStdString());

    FileFolders folders(store, docs);
    EXPECT_EQ(folders.StartFolder(FileKind::State), docs);
    EXPECT_EQ(folders.StartFolder(FileKind::Image), docs);
    folders.Remember(FileKind::State, states + "/mine.vek");
    EXPECT_EQ(folders.StartFolder(FileKind::State), states);
    EXPECT_EQ(folders.StartFolder(FileKind::Image), docs);  // each kind its own
    folders.Remember(FileKind::Image, images + "/chart.png");

    // The next start reads them from the store; the program's own values
    // are not touched.
    platform::SettingsStore again(tmp.filePath("config").toStdString());
    FileFolders later(again, docs);
    EXPECT_EQ(later.StartFolder(FileKind::State), states);
    EXPECT_EQ(later.StartFolder(FileKind::Image), images);
    std::string value;
    EXPECT_FALSE(platform::StoreStatusOk(
        again.GetStoreValue(platform::kStoreKeyPath, "States", value)));

    // A folder that has gone: back to the documents folder.
    ASSERT_TRUE(QDir(images).removeRecursively());
    EXPECT_EQ(later.StartFolder(FileKind::Image), docs);
}

TEST(WithDefaultSuffix, OnlyANameWithoutExtensionGetsIt) {
    EXPECT_EQ(WithDefaultSuffix("/home/u/state1", "vek"), "/home/u/state1.vek");
    EXPECT_EQ(WithDefaultSuffix("/home/u/state1.", "vek"), "/home/u/state1.vek");
    EXPECT_EQ(WithDefaultSuffix("/home/u/state1.vek", "vek"), "/home/u/state1.vek");
    EXPECT_EQ(WithDefaultSuffix("/home/u/state1.txt", "vek"), "/home/u/state1.txt");
    // A dot in a folder's name is not the file's extension.
    EXPECT_EQ(WithDefaultSuffix("/home/u.v/state1", "vek"), "/home/u.v/state1.vek");
    EXPECT_EQ(WithDefaultSuffix("/home/u/.hidden", "vek"), "/home/u/.hidden.vek");
    EXPECT_EQ(WithDefaultSuffix("/home/u/state1", ""), "/home/u/state1");
}

TEST(ScriptedDialogs, FileDialogsRecordTheirFolderAndGiveTheSuffixAsTheRealOneDoes) {
    ScriptedDialogs d;
    d.QueueFileName(QString("/tmp/state1"));
    d.QueueFileName(QString("/tmp/chart"), 1);
    d.QueueFileName(QString("/tmp/other"));
    EXPECT_EQ(d.SaveFile({"Save as", "S (*.vek) | *.vek", "/tmp/docs", "vek"}),
              QString("/tmp/state1.vek"));
    int filter = -1;
    EXPECT_EQ(d.SaveFile({"Image", "P | *.png | S | *.svg", "/tmp", "", &filter}),
              QString("/tmp/chart"));
    EXPECT_EQ(filter, 1);
    // Opening adds nothing.
    EXPECT_EQ(d.OpenFile({"Load", "S | *.vek", "/tmp", "vek"}), QString("/tmp/other"));
    ASSERT_EQ(d.asked().size(), 3u);
    EXPECT_EQ(d.asked()[0].folder, "/tmp/docs");
    EXPECT_EQ(d.asked()[0].defaultSuffix, "vek");
}

TEST(WindowPlace, IsRememberedUnderTheWindowsNameAndOnlyGivenBackWhenItFitsAScreen) {
    App();
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    platform::SettingsStore store(tmp.path().toStdString());
    EXPECT_TRUE(RememberedWindowPlace(store, "frmMain").isEmpty());

    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget w;
    w.setObjectName("frmMain");
    w.setGeometry(screen.x() + 10, screen.y() + 20, 300, 200);
    RememberWindowPlace(store, &w);
    const QRect place = RememberedWindowPlace(store, "frmMain");
    EXPECT_EQ(place.size(), QSize(300, 200));
    EXPECT_EQ(place.topLeft(), w.frameGeometry().topLeft());
    EXPECT_TRUE(RememberedWindowPlace(store, "frmOther").isEmpty());

    // Larger than the screen: cut to it; its corner beside every screen (a
    // screen that has gone): not given back.
    store.SetStoreValue(kWindowsKeyPath, "frmMain",
                        std::to_string(screen.x()) + " " + std::to_string(screen.y()) + " " +
                            std::to_string(screen.width() + 1) + " 100");
    EXPECT_EQ(RememberedWindowPlace(store, "frmMain"),
              QRect(screen.topLeft(), QSize(screen.width(), 100)));
    store.SetStoreValue(kWindowsKeyPath, "frmMain",
                        std::to_string(screen.right() - 20) + " " + std::to_string(screen.y()) +
                            " 100 100");
    EXPECT_TRUE(RememberedWindowPlace(store, "frmMain").isEmpty());
    store.SetStoreValue(kWindowsKeyPath, "frmMain",
                        std::to_string(screen.x()) + " " + std::to_string(screen.y() - 10) +
                            " 100 100");
    EXPECT_TRUE(RememberedWindowPlace(store, "frmMain").isEmpty());

    EXPECT_EQ(ParseWindowPlace("1 2 3 4"), QRect(1, 2, 3, 4));
    EXPECT_EQ(ParseWindowPlace("-5 2 3 4"), QRect(-5, 2, 3, 4));
    EXPECT_TRUE(ParseWindowPlace("1 2 3").isEmpty());
    EXPECT_TRUE(ParseWindowPlace("1 2 3 4 5").isEmpty());
    EXPECT_TRUE(ParseWindowPlace("1 2 0 4").isEmpty());
    EXPECT_TRUE(ParseWindowPlace("a b c d").isEmpty());
}

}  // namespace
}  // namespace vek::gui
