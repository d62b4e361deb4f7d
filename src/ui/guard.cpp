#include "guard.h"

#include "prompts.h"

#include <exception>
#include <iostream>

namespace telvane {

QString exception_text(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown error");
    }
}

bool guarded(Prompts& prompts, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (...) {
        prompts.message(exception_text(std::current_exception()));
        return false;
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = exception_text(std::current_exception());
        if (prompts_)
            prompts_->message(text);
        else
            std::cerr << text.toStdString() << '\n';
        return false;
    }
}

} // namespace telvane
