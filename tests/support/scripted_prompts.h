// The test side of the message seam: answers from a script, records every call.
#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class ScriptedPrompts : public telvane::Prompts {
public:
    struct Question {
        QString title;
        QString text;
    };

    QStringList messages;
    QList<Question> questions;
    QList<int> answers;       // for ask(); a question without an answer is cancelled
    QList<bool> yesNoAnswers; // for yesNo(); none left answers No
    QList<std::optional<telvane::FileChoice>> fileAnswers; // none left: cancelled
    QStringList fileTypeLists;
    int unanswered = 0;

    void message(const QString& text) override { messages << text; }
    int ask(const QString& title, const QString& text) override {
        questions << Question{title, text};
        if (answers.isEmpty()) {
            ++unanswered;
            return 2;
        }
        return answers.takeFirst();
    }
    bool yesNo(const QString& caption, const QString& text) override {
        questions << Question{caption, text};
        if (yesNoAnswers.isEmpty()) {
            ++unanswered;
            return false;
        }
        return yesNoAnswers.takeFirst();
    }
    QList<std::optional<int>> choiceAnswers; // for choose(); none left: cancelled
    std::optional<int> choose(const QString& title, const QString& text,
                              const QStringList&) override {
        questions << Question{title, text};
        if (choiceAnswers.isEmpty()) {
            ++unanswered;
            return std::nullopt;
        }
        return choiceAnswers.takeFirst();
    }
    std::optional<telvane::FileChoice> openFile(const QString& typeList) override {
        return next_file(typeList);
    }
    std::optional<telvane::FileChoice> saveFile(const QString& typeList,
                                                const QString& defaultExt) override {
        saveDefaultExts << defaultExt;
        return next_file(typeList);
    }

    // The default suffix each save dialog was given (a dialog adds it to a bare name).
    QStringList saveDefaultExts;

private:
    std::optional<telvane::FileChoice> next_file(const QString& typeList) {
        fileTypeLists << typeList;
        if (fileAnswers.isEmpty()) {
            ++unanswered;
            return std::nullopt;
        }
        return fileAnswers.takeFirst();
    }
};
