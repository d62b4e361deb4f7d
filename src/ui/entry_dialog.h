// The entry dialog: labelled boxes and lists, three to a row, with OK and Cancel. What is
// submitted is checked by the request's own check; a refused entry is named in a message and the
// dialog stays open on the box at fault.
#pragma once

#include "prompts.h"

#include <QDialog>

#include <vector>

class QPushButton;

namespace telvane {

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    // `say` shows a refusal's message (over this dialog).
    EntryDialog(EntryRequest request, std::function<void(const QString&)> say, const QString& ok,
                const QString& cancel, QWidget* parent);

    QPushButton* Button1; // submit
    QPushButton* Button2; // cancel
    // The values of the boxes and lists, in the request's order.
    QStringList values() const;
    // The control of box `i`.
    QWidget* box(int i) const { return controls_[static_cast<std::size_t>(i)]; }

    // Submit: the values checked, then the dialog closes.
    void Button1Click();

private:
    void set_values(const QStringList& values);
    void list_changed(int box);

    EntryRequest request_;
    std::function<void(const QString&)> say_;
    std::vector<QWidget*> controls_;
    bool following_ = false;
};

} // namespace telvane
