// Answers the program's real modal dialogs in a test, as a person would: a moment after a
// dialog shows, the next scripted answer (a key, a click, a typed path) is given to it. The
// texts of the message boxes are recorded. A dialog with no answer left is closed with Escape.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

class DialogAnswerer {
public:
    using Answer = std::function<void(QWidget* dialog)>;

    DialogAnswerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { look(); });
        timer_.start();
    }

    // Answers, one for each dialog in the order they show; when none is left, `fallback`
    // answers (by default Escape).
    QList<Answer> answers;
    Answer fallback;
    // The texts of the message boxes that showed.
    QStringList shown;
    int dialogs = 0;

    static Answer key(Qt::Key k) {
        return [k](QWidget* dialog) { QTest::keyClick(dialog, k); };
    }
    // Clicks the button `which` of a message box (Escape when it has none).
    static Answer button(QMessageBox::StandardButton which) {
        return [which](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            if (QAbstractButton* b = box ? box->button(which) : nullptr)
                QTest::mouseClick(b, Qt::LeftButton);
            else
                QTest::keyClick(dialog, Qt::Key_Escape);
        };
    }
    // Types `path` into a file dialog's name box and presses Return.
    static Answer path(const QString& path) {
        return [path](QWidget* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            name->setFocus();
            name->clear();
            QTest::keyClicks(name, path);
            QTest::keyClick(name, Qt::Key_Return);
        };
    }

private:
    void look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || busy_) {
            waited_ = 0;
            return;
        }
        if (++waited_ < 3) // a moment after it shows
            return;
        waited_ = 0;
        busy_ = true;
        // From a timer of its own: an answer may run a nested modal loop, in which this
        // timer, still in its handler, would never fire again.
        QTimer::singleShot(0, modal, [this, at = QPointer<QWidget>(modal)] {
            busy_ = false;
            if (!at || QApplication::activeModalWidget() != at)
                return;
            ++dialogs;
            // A file dialog's own warnings ("File not found") are Qt's, not the program's.
            if (auto* box = qobject_cast<QMessageBox*>(at.data());
                box && !qobject_cast<QFileDialog*>(box->parentWidget()))
                shown << box->text();
            tries_ = at == last_ ? tries_ + 1 : 0;
            last_ = at;
            // A dialog that does not take its answers (a path it refuses) is given up on.
            if (tries_ > 4) {
                if (auto* dialog = qobject_cast<QDialog*>(at.data()))
                    dialog->reject();
                else
                    at->close();
                return;
            }
            const Answer answer = !answers.isEmpty() ? answers.takeFirst()
                                  : fallback         ? fallback
                                                     : key(Qt::Key_Escape);
            answer(at);
        });
    }

    QTimer timer_;
    QPointer<QWidget> last_;
    int tries_ = 0;
    int waited_ = 0;
    bool busy_ = false;
};
