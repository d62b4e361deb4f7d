// No exception ever reaches the event loop: a command that throws ends with a message box, and
// the commands keep their data untouched until they have succeeded.
#pragma once

#include <QApplication>

#include <functional>

namespace telvane {

class Prompts;

// Runs `command`; an exception it throws is shown in the message box. True when it ran through.
bool guarded(Prompts& prompts, const std::function<void()>& command);

// The text shown for an exception caught by the guard.
QString exception_text(std::exception_ptr error);

// The last line of defence: an exception that escapes an event handler is shown in the message
// box and the event loop goes on.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void setPrompts(Prompts* prompts) { prompts_ = prompts; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    Prompts* prompts_ = nullptr;
};

} // namespace telvane
