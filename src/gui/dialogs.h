// Every modal question the window asks goes through Dialogs: message boxes,
// Yes/No/Cancel questions and the open and save file dialogs. The program
// uses QtDialogs; tests use ScriptedDialogs, which records each question and
// answers it from a queue, so nothing ever blocks a headless run.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "gui/time_zone_request.h"

class QWidget;

namespace vek::gui {

enum class MessageIcon { None, Information, Exclamation, Critical };

enum class Answer { Yes, No, Cancel };

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A modal message with one OK button.
    virtual void Message(const QString& text, const QString& title, MessageIcon icon) = 0;

    // A modal question with Yes, No and Cancel; closing the box counts as
    // Cancel.
    virtual Answer AskYesNoCancel(const QString& text, const QString& title,
                                  Answer defaultButton) = 0;

    // A modal question with Yes and No; closing the box counts as No.
    virtual Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton) = 0;

    // The standard open and save dialogs. filter is given as "description
    // (*.ext) | *.ext" pairs separated by "|"; an empty result means that the
    // user cancelled. The dialog starts in `folder` (empty: wherever the
    // platform likes); a save dialog gives a name typed without an extension
    // `defaultSuffix` (empty: none), and asks before it replaces a file.
    // `filterIndex`, when given, tells which filter pair was chosen (from 0).
    struct FileRequest {
        QString title;
        QString filter;
        QString folder;
        QString defaultSuffix;
        int* filterIndex = nullptr;
    };
    virtual std::optional<QString> OpenFile(const FileRequest& request) = 0;
    virtual std::optional<QString> SaveFile(const FileRequest& request) = 0;

    // A modal question whose answers are the given choices, plus Cancel.
    // Gives the index of the choice, nothing for Cancel or a closed box.
    virtual std::optional<int> Choose(const QString& text, const QString& title,
                                      const QStringList& choices) = 0;

    // The time and zone chooser of a date row (FrmZone).
    using TimeAndZoneRequest = vek::gui::TimeAndZoneRequest;
    using TimeAndZone = vek::gui::TimeAndZone;
    // Nothing when the user cancelled.
    virtual std::optional<TimeAndZone> AskTimeAndZone(const TimeAndZoneRequest& request) = 0;

    std::optional<QString> OpenFileName(const QString& title, const QString& filter) {
        return OpenFile({title, filter, QString(), QString()});
    }
    std::optional<QString> SaveFileName(const QString& title, const QString& filter) {
        return SaveFile({title, filter, QString(), QString()});
    }
};

// Turns a "description | pattern | description | pattern" filter into the
// form the Qt file dialogs take ("description (pattern);;...").
QString QtFileFilter(const QString& filter);

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Message(const QString& text, const QString& title, MessageIcon icon) override;
    Answer AskYesNoCancel(const QString& text, const QString& title, Answer defaultButton) override;
    std::optional<QString> OpenFile(const FileRequest& request) override;
    std::optional<QString> SaveFile(const FileRequest& request) override;
    Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton) override;
    std::optional<int> Choose(const QString& text, const QString& title,
                              const QStringList& choices) override;
    std::optional<TimeAndZone> AskTimeAndZone(const TimeAndZoneRequest& request) override;

  private:
    QWidget* parent_;
};

// Records every question and answers from queues. With an empty answer queue
// a question is answered Cancel (a Yes/No question No) and a file dialog is
// cancelled; the record notes that the answer was not scripted, so a test can
// tell.
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { Message, Question, OpenFile, SaveFile, Choice, TimeAndZone };

    struct Asked {
        Kind kind;
        QString text;  // message or question; the filter for file dialogs
        QString title;
        MessageIcon icon = MessageIcon::None;
        Answer defaultButton = Answer::Cancel;
        bool scripted = true;  // false when the answer queue was empty
        QString folder;         // file dialogs: where it started
        QString defaultSuffix;  // save dialogs: the suffix it adds
        QStringList choices;    // Choose: the choices offered
        QString time, zone;     // AskTimeAndZone: what it showed at first
        QString place = QString();  // ... and its place box
    };

    void QueueAnswer(Answer a) { answers_.push_back(a); }
    // nullopt scripts a cancelled file dialog.
    void QueueFileName(std::optional<QString> name, int filterIndex = 0) {
        fileNames_.push_back({std::move(name), filterIndex});
    }

    // Choose answers with the index, nullopt with Cancel.
    void QueueChoice(std::optional<int> choice) { choices_.push_back(choice); }
    // AskTimeAndZone answers with the texts, nullopt with Cancel.
    void QueueTimeAndZone(std::optional<TimeAndZone> answer) { timesAndZones_.push_back(answer); }

    const std::vector<Asked>& asked() const { return asked_; }
    // The city search of the last time and zone chooser asked for, as the
    // real chooser would run it.
    std::function<std::vector<PlaceEntry>(const QString&)> lastPlacesMatching;
    int Count(Kind kind) const;
    void Clear() { asked_.clear(); }

    void Message(const QString& text, const QString& title, MessageIcon icon) override;
    Answer AskYesNoCancel(const QString& text, const QString& title, Answer defaultButton) override;
    std::optional<QString> OpenFile(const FileRequest& request) override;
    std::optional<QString> SaveFile(const FileRequest& request) override;
    Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton) override;
    std::optional<int> Choose(const QString& text, const QString& title,
                              const QStringList& choices) override;
    std::optional<TimeAndZone> AskTimeAndZone(const TimeAndZoneRequest& request) override;

  private:
    // The scripted name as the real dialog would give it back: a saved name
    // without an extension gets the default suffix.
    std::optional<QString> NextFileName(Kind kind, const FileRequest& request);

    struct ScriptedFile {
        std::optional<QString> name;
        int filterIndex = 0;
    };
    std::vector<Asked> asked_;
    std::deque<Answer> answers_;
    std::deque<ScriptedFile> fileNames_;
    std::deque<std::optional<int>> choices_;
    std::deque<std::optional<TimeAndZone>> timesAndZones_;
};

}  // namespace vek::gui
