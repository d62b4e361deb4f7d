// The confirmation dialog: a question with a confirm and a cancel button. Created once at start
// and reused; reached only through the Prompts seam.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace telvane {

class UiText;

class TFormMessage : public QDialog {
    Q_OBJECT
public:
    explicit TFormMessage(const UiText& texts, QWidget* parent = nullptr);

    // Shows `text` under the caption `title`, modally: 1 confirm, 2 cancel (also for Escape or
    // closing the window).
    int Ask(const QString& title, const QString& text);

    QLabel* Label1;
    QPushButton* Button1; // confirm
    QPushButton* Button2; // cancel

protected:
    void showEvent(QShowEvent* event) override;

private:
    const UiText& texts_;
};

} // namespace telvane
