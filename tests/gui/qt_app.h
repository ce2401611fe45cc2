// What the window tests share: the one QApplication, on the offscreen
// platform unless the environment names another, a main window's
// surroundings at a fixed moment, and the fixture that starts a main window
// there and drives its controls as a user does.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "config/program_text.h"
#include "gui/dialogs.h"
#include "gui/frm_main.h"

class QApplication;

namespace vek::gui::test {

QApplication& App();

// 4 July 2010, 14:16 at Greenwich: "Now" gives 14:30.
ClockReading FixedClock();

// A main window that keeps its state and settings in folder, reads the
// program's data from the build and lives at FixedClock() in zone GMT.
FrmMain::Environment WindowEnvironment(const QString& folder);

// Program text n of vek.dat in the language the window shows.
QString WindowText(const FrmMain& w, TextId n);

// The child of `parent` with that name; the test fails when there is none.
template <class T>
T* FindIn(const QObject* parent, const QString& name) {
    T* w = parent ? parent->findChild<T*>(name) : nullptr;
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// Picks a list entry as a user does with the mouse.
void Choose(QComboBox* c, int index);

// With VEK_SCREENSHOT_DIR set, the widget is saved there as NAME.png, to be
// looked at.
void Snapshot(QWidget& w, const QString& name);

// A main window in a scratch folder of its own, its questions answered by
// scripted dialogs of type D.
template <class D = ScriptedDialogs>
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        App();
        ASSERT_TRUE(tmp.isValid());
        env = WindowEnvironment(tmp.path());
    }
    std::string Path(const char* name) const { return tmp.filePath(name).toStdString(); }

    // Starts the window; the test fails when start-up does not complete.
    FrmMain& Start() {
        window = std::make_unique<FrmMain>(dialogs, env);
        EXPECT_TRUE(window->Load());
        return *window;
    }

    template <class T>
    T* Find(const QString& name) const {
        return FindIn<T>(window.get(), name);
    }
    QPushButton* Button(const QString& name) const { return Find<QPushButton>(name); }
    QRadioButton* Option(const QString& name) const { return Find<QRadioButton>(name); }
    QComboBox* Combo(const QString& name) const { return Find<QComboBox>(name); }
    QString PT(TextId n) const { return WindowText(*window, n); }

    // Picks an entry of the window's list `name`.
    void Choose(const QString& name, int index) const { test::Choose(Combo(name), index); }
    static void Choose(QComboBox* c, int index) { test::Choose(c, index); }
    // Fills a date row through its controls, the year typed.
    void EnterDate(DateSlot slot, int month, int day, const QString& year, int time, int zone) const;
    void Snapshot(const QString& name) const { test::Snapshot(*window, name); }
    static void Snapshot(QWidget& w, const QString& name) { test::Snapshot(w, name); }

    QTemporaryDir tmp;
    FrmMain::Environment env;
    D dialogs;
    std::unique_ptr<FrmMain> window;
};

// The keys typed into the year box of `slot` after it is emptied.
void TypeYear(FrmMain& w, DateSlot slot, const QString& year);

template <class D>
void MainWindowTest<D>::EnterDate(DateSlot slot, int month, int day, const QString& year, int time,
                                  int zone) const {
    const QString s = "_" + QString::number(Index(slot));
    Choose("cboMonthCE" + s, month);
    Choose("cboDayCE" + s, day);
    TypeYear(*window, slot, year);
    Choose("cboHour" + s, time);
    Choose("cboTimezone" + s, zone);
}

}  // namespace vek::gui::test
