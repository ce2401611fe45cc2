// Every modal question the window asks goes through Dialogs: message boxes,
// Yes/No/Cancel questions and the open and save file dialogs. The program
// uses QtDialogs; tests use ScriptedDialogs, which records each question and
// answers it from a queue, so nothing ever blocks a headless run.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

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

    // The standard open and save dialogs. filter is given as "description
    // (*.ext) | *.ext" pairs separated by "|"; an empty result means that the
    // user cancelled.
    virtual std::optional<QString> OpenFileName(const QString& title, const QString& filter) = 0;
    virtual std::optional<QString> SaveFileName(const QString& title, const QString& filter) = 0;

    // A modal question with Yes and No; closing the box counts as No. Asked
    // as a Yes/No/Cancel question unless a dialog class has its own.
    virtual Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton);
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
    std::optional<QString> OpenFileName(const QString& title, const QString& filter) override;
    std::optional<QString> SaveFileName(const QString& title, const QString& filter) override;
    Answer AskYesNo(const QString& text, const QString& title, Answer defaultButton) override;

  private:
    QWidget* parent_;
};

// Records every question and answers from queues. With an empty answer queue
// a question is answered Cancel and a file dialog is cancelled; the record
// notes that the answer was not scripted, so a test can tell.
class ScriptedDialogs : public Dialogs {
  public:
    enum class Kind { Message, Question, OpenFile, SaveFile };

    struct Asked {
        Kind kind;
        QString text;  // message or question; the filter for file dialogs
        QString title;
        MessageIcon icon = MessageIcon::None;
        Answer defaultButton = Answer::Cancel;
        bool scripted = true;  // false when the answer queue was empty
    };

    void QueueAnswer(Answer a) { answers_.push_back(a); }
    // nullopt scripts a cancelled file dialog.
    void QueueFileName(std::optional<QString> name) { fileNames_.push_back(std::move(name)); }

    const std::vector<Asked>& asked() const { return asked_; }
    int Count(Kind kind) const;
    void Clear() { asked_.clear(); }

    void Message(const QString& text, const QString& title, MessageIcon icon) override;
    Answer AskYesNoCancel(const QString& text, const QString& title, Answer defaultButton) override;
    std::optional<QString> OpenFileName(const QString& title, const QString& filter) override;
    std::optional<QString> SaveFileName(const QString& title, const QString& filter) override;

  private:
    std::optional<QString> NextFileName(Kind kind, const QString& title, const QString& filter);

    std::vector<Asked> asked_;
    std::deque<Answer> answers_;
    std::deque<std::optional<QString>> fileNames_;
};

}  // namespace vek::gui
