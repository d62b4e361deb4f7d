// The test side of the message seam: answers from a script, records every call.
#pragma once

#include "ui/prompts.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>
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
    // Entry dialogs: each answer sets boxes and lists by name (a list by its position), over what
    // the dialog showed; a refused answer is said as a message and the next answer is taken, and
    // with none left the dialog is cancelled.
    struct Entry {
        QString name;
        QStringList shown;  // what the boxes held when it came up
        QString refusedBox; // the box the last refusal was about
    };
    QList<Entry> entries;
    QList<std::optional<QMap<QString, QString>>> entryAnswers; // nothing: cancelled
    // When set, answers entry dialogs in place of the answers above (a test that shows the real
    // dialog of the request).
    std::function<std::optional<QStringList>(const telvane::EntryRequest&)> onEnter;
    std::optional<QStringList> enter(const telvane::EntryRequest& request) override {
        if (onEnter)
            return onEnter(request);
        QStringList values;
        for (const telvane::EntryBox& b : request.boxes)
            values << b.value;
        entries << Entry{request.name, values, {}};
        while (!entryAnswers.isEmpty()) {
            const std::optional<QMap<QString, QString>> answer = entryAnswers.takeFirst();
            if (!answer)
                return std::nullopt;
            for (int i = 0; i < static_cast<int>(request.boxes.size()); ++i) {
                const telvane::EntryBox& b = request.boxes[static_cast<std::size_t>(i)];
                if (!answer->contains(b.name))
                    continue;
                values[i] = answer->value(b.name);
                if (!b.choices.isEmpty() && request.follow)
                    request.follow(values, i);
            }
            const std::optional<telvane::EntryRefused> refused =
                request.check ? request.check(values) : std::nullopt;
            if (!refused)
                return values;
            messages << refused->message;
            entries.back().refusedBox = request.boxes[static_cast<std::size_t>(refused->box)].name;
        }
        ++unanswered;
        return std::nullopt;
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
