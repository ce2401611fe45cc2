#include "gui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/frm_zone.h"
#include "gui/places.h"

namespace vek::gui {

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        // The description usually repeats the pattern already ("State files
        // (*.vek)"); Qt reads the patterns from the parentheses.
        if (!description.contains('(')) description += " (" + pattern + ")";
        out << description;
    }
    if (out.isEmpty() && !filter.trimmed().isEmpty()) out << filter.trimmed();
    return out.join(";;");
}

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(Answer a) {
    switch (a) {
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
        case Answer::Cancel:
            break;
    }
    return QMessageBox::Cancel;
}

}  // namespace

void QtDialogs::Message(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(ToQtIcon(icon), title, text, QMessageBox::Ok, parent_);
    box.exec();
}

Answer QtDialogs::AskYesNoCancel(const QString& text, const QString& title, Answer defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
    box.setDefaultButton(ToQtButton(defaultButton));
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

Answer QtDialogs::AskYesNo(const QString& text, const QString& title, Answer defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<int> QtDialogs::Choose(const QString& text, const QString& title,
                                     const QStringList& choices) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Cancel, parent_);
    std::vector<QAbstractButton*> buttons;
    for (const QString& c : choices) buttons.push_back(box.addButton(c, QMessageBox::AcceptRole));
    if (!buttons.empty()) box.setDefaultButton(static_cast<QPushButton*>(buttons.front()));
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
    return std::nullopt;
}

std::optional<Dialogs::TimeAndZone> QtDialogs::AskTimeAndZone(const TimeAndZoneRequest& request) {
    FrmZone chooser(request, parent_);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.Answer();
}

namespace {

int FilterIndexOf(const QStringList& filters, const QString& chosen) {
    const qsizetype i = filters.indexOf(chosen);
    return i < 0 ? 0 : static_cast<int>(i);
}

}  // namespace

std::optional<QString> QtDialogs::OpenFile(const FileRequest& request) {
    const QString filters = QtFileFilter(request.filter);
    QFileDialog dialog(parent_, request.title, request.folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (request.filterIndex)
        *request.filterIndex = FilterIndexOf(filters.split(";;"), dialog.selectedNameFilter());
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::SaveFile(const FileRequest& request) {
    const QString filters = QtFileFilter(request.filter);
    QFileDialog dialog(parent_, request.title, request.folder, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds the suffix before it asks whether to replace a file,
    // so the question names the file that is written.
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    if (request.filterIndex)
        *request.filterIndex = FilterIndexOf(filters.split(";;"), dialog.selectedNameFilter());
    return dialog.selectedFiles().first();
}

int ScriptedDialogs::Count(Kind kind) const {
    int n = 0;
    for (const Asked& a : asked_) n += a.kind == kind ? 1 : 0;
    return n;
}

void ScriptedDialogs::Message(const QString& text, const QString& title, MessageIcon icon) {
    asked_.push_back({Kind::Message, text, title, icon, Answer::Cancel, true, {}, {}, {}, {}, {}});
}

Answer ScriptedDialogs::AskYesNoCancel(const QString& text, const QString& title,
                                       Answer defaultButton) {
    Asked a{Kind::Question, text, title, MessageIcon::None, defaultButton, true, {}, {}, {}, {}, {}};
    Answer answer = Answer::Cancel;
    if (answers_.empty()) {
        a.scripted = false;
    } else {
        answer = answers_.front();
        answers_.pop_front();
    }
    asked_.push_back(a);
    return answer;
}

Answer ScriptedDialogs::AskYesNo(const QString& text, const QString& title, Answer defaultButton) {
    // The box has no Cancel: an unscripted question, or a Cancel in the
    // queue, is answered No, as closing the box would.
    const Answer answer = AskYesNoCancel(text, title, defaultButton);
    return answer == Answer::Yes ? Answer::Yes : Answer::No;
}

std::optional<int> ScriptedDialogs::Choose(const QString& text, const QString& title,
                                           const QStringList& choices) {
    Asked a{Kind::Choice, text, title, MessageIcon::None, Answer::Cancel, true, {}, {}, {}, {}, {}};
    a.choices = choices;
    std::optional<int> answer;
    if (choices_.empty()) {
        a.scripted = false;
    } else {
        answer = choices_.front();
        choices_.pop_front();
    }
    asked_.push_back(a);
    if (answer && (*answer < 0 || *answer >= choices.size())) answer.reset();
    return answer;
}

std::optional<Dialogs::TimeAndZone> ScriptedDialogs::AskTimeAndZone(
    const TimeAndZoneRequest& request) {
    Asked a{Kind::TimeAndZone, {}, request.title, MessageIcon::None, Answer::Cancel, true, {}, {}, {}, {}, {}};
    a.time = request.time;
    a.zone = request.zone;
    a.place = request.place;
    lastPlacesMatching = request.placesMatching;
    std::optional<TimeAndZone> answer;
    if (timesAndZones_.empty()) {
        a.scripted = false;
    } else {
        answer = timesAndZones_.front();
        timesAndZones_.pop_front();
    }
    asked_.push_back(a);
    return answer;
}

std::optional<QString> ScriptedDialogs::NextFileName(Kind kind, const FileRequest& request) {
    Asked a{kind, request.filter, request.title, MessageIcon::None, Answer::Cancel, true, {}, {}, {}, {}, {}};
    a.folder = request.folder;
    a.defaultSuffix = request.defaultSuffix;
    std::optional<QString> name;
    if (fileNames_.empty()) {
        a.scripted = false;
    } else {
        name = fileNames_.front().name;
        if (request.filterIndex) *request.filterIndex = fileNames_.front().filterIndex;
        fileNames_.pop_front();
    }
    asked_.push_back(a);
    if (name && kind == Kind::SaveFile) name = WithDefaultSuffix(*name, request.defaultSuffix);
    return name;
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileRequest& request) {
    return NextFileName(Kind::OpenFile, request);
}

std::optional<QString> ScriptedDialogs::SaveFile(const FileRequest& request) {
    return NextFileName(Kind::SaveFile, request);
}

}  // namespace vek::gui
