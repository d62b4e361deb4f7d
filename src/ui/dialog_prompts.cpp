#include "dialog_prompts.h"

#include "entry_dialog.h"
#include "form_message.h"
#include "ui_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace telvane {

QStringList name_filters_from_type_list(const QString& typeList) {
    const QStringList parts = typeList.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        static const QRegularExpression trailing_patterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        description.remove(trailing_patterns);
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(QLatin1Char(';')))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        if (patterns.isEmpty())
            continue;
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

QWidget* DialogPrompts::owner() const {
    // The window the user works in: a dialog over the road window belongs to it, so that the
    // window manager does not raise the main window (waiting behind it) with the dialog.
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    return parent_;
}

QString DialogPrompts::caption(std::string_view key, const QString& fallback) const {
    const QString t = text_ ? text_(key) : QString();
    return t.trimmed().isEmpty() ? fallback : t.trimmed();
}

void DialogPrompts::message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon,
                    caption("app_title", QString::fromLatin1(kApplicationTitle).trimmed()), text,
                    QMessageBox::Ok, owner());
    box.exec();
}

void DialogPrompts::captioned(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner());
    box.exec();
}

int DialogPrompts::ask(const QString& title, const QString& text) {
    if (!confirmation_)
        return 2; // before the dialog exists nothing can be confirmed
    return confirmation_->Ask(title, text);
}

bool DialogPrompts::yesNo(const QString& caption, const QString& text) {
    return QMessageBox::question(owner(), caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<int> DialogPrompts::choose(const QString& title, const QString& text,
                                         const QStringList& items) {
    if (items.isEmpty())
        return std::nullopt;
    QInputDialog dialog(owner());
    dialog.setWindowTitle(title);
    dialog.setLabelText(text);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    dialog.setTextValue(items.front());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const qsizetype at = items.indexOf(dialog.textValue());
    return at < 0 ? std::nullopt : std::optional<int>(static_cast<int>(at));
}

std::optional<QStringList> DialogPrompts::enter(const EntryRequest& request) {
    EntryDialog dialog(
        request, [this](const QString& text) { message(text); },
        caption("confirmbtn", QStringLiteral("OK")), caption("cancelbtn", QStringLiteral("Cancel")),
        owner());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

std::optional<FileChoice> DialogPrompts::openFile(const QString& typeList) {
    return runFileDialog(false, typeList, {});
}

std::optional<FileChoice> DialogPrompts::saveFile(const QString& typeList,
                                                  const QString& defaultExt) {
    return runFileDialog(true, typeList, defaultExt);
}

std::optional<FileChoice> DialogPrompts::runFileDialog(bool save, const QString& typeList,
                                                       const QString& defaultExt) {
    QFileDialog dialog(owner());
    dialog.setWindowTitle(save ? caption("savebtn", QStringLiteral("Save"))
                               : caption("openbtn", QStringLiteral("Open")));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The program asks its own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = name_filters_from_type_list(typeList);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    QString suffix = defaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    // Open and Save start where the user last chose a file.
    if (!directory_.isEmpty())
        dialog.setDirectory(directory_);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    directory_ = QFileInfo(dialog.selectedFiles().front()).absolutePath();
    const qsizetype at = filters.indexOf(dialog.selectedNameFilter());
    return FileChoice{dialog.selectedFiles().front(), at < 0 ? 1 : static_cast<int>(at) + 1};
}

} // namespace telvane
