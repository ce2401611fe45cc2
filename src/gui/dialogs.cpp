#include "gui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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

std::optional<QString> QtDialogs::OpenFileName(const QString& title, const QString& filter) {
    const QString name =
        QFileDialog::getOpenFileName(parent_, title, QString(), QtFileFilter(filter));
    if (name.isEmpty()) return std::nullopt;
    return name;
}

std::optional<QString> QtDialogs::SaveFileName(const QString& title, const QString& filter) {
    // The name is used as the user typed it: no extension is added.
    QFileDialog dialog(parent_, title, QString(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

Answer Dialogs::AskYesNo(const QString& text, const QString& title, Answer defaultButton) {
    return AskYesNoCancel(text, title, defaultButton) == Answer::Yes ? Answer::Yes : Answer::No;
}

Answer QtDialogs::AskYesNo(const QString& text, const QString& title, Answer defaultButton) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(defaultButton == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

int ScriptedDialogs::Count(Kind kind) const {
    int n = 0;
    for (const Asked& a : asked_) n += a.kind == kind ? 1 : 0;
    return n;
}

void ScriptedDialogs::Message(const QString& text, const QString& title, MessageIcon icon) {
    asked_.push_back({Kind::Message, text, title, icon, Answer::Cancel, true});
}

Answer ScriptedDialogs::AskYesNoCancel(const QString& text, const QString& title,
                                       Answer defaultButton) {
    Asked a{Kind::Question, text, title, MessageIcon::None, defaultButton, true};
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

std::optional<QString> ScriptedDialogs::NextFileName(Kind kind, const QString& title,
                                                     const QString& filter) {
    Asked a{kind, filter, title, MessageIcon::None, Answer::Cancel, true};
    std::optional<QString> name;
    if (fileNames_.empty()) {
        a.scripted = false;
    } else {
        name = fileNames_.front();
        fileNames_.pop_front();
    }
    asked_.push_back(a);
    return name;
}

std::optional<QString> ScriptedDialogs::OpenFileName(const QString& title, const QString& filter) {
    return NextFileName(Kind::OpenFile, title, filter);
}

std::optional<QString> ScriptedDialogs::SaveFileName(const QString& title, const QString& filter) {
    return NextFileName(Kind::SaveFile, title, filter);
}

}  // namespace vek::gui
