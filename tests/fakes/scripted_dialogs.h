#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>

#include "dialogs.h"

// Answers the program's dialogs from a script and remembers what was shown.
// Each kind of dialog takes its answers in order; an unscripted file dialog
// is cancelled and an unscripted question answered No.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QString title;
        QString text;
    };
    struct SaveRequest {
        QString startName;
        QList<FileFilter> filters;
    };

    void showError(const QString& title, const QString& text) override {
        errors.append({title, text});
    }

    std::optional<QString> chooseFileToOpen(const OpenFileRequest& request) override {
        openRequests.append(request);
        return next(openAnswers);
    }

    std::optional<QString> chooseFolder(const QString& title) override {
        folderTitles.append(title);
        return next(folderAnswers);
    }

    std::optional<QString> chooseFileToSave(const QString& startName,
                                            const QList<FileFilter>& filters) override {
        saveRequests.append({startName, filters});
        return next(saveAnswers);
    }

    bool askYesNo(const QString& title, const QString& text) override {
        questions.append({title, text});
        if (whileAsking) whileAsking();
        return yesNoAnswers.isEmpty() ? false : yesNoAnswers.takeFirst();
    }

    // Answers still to give; std::nullopt cancels that dialog.
    QList<std::optional<QString>> openAnswers;
    QList<std::optional<QString>> folderAnswers;
    QList<std::optional<QString>> saveAnswers;
    QList<bool> yesNoAnswers;
    // Runs while a question is open, to look at the window at that moment.
    std::function<void()> whileAsking;

    // What was shown, in order, per kind.
    QList<Message> errors;
    QList<OpenFileRequest> openRequests;
    QStringList folderTitles;
    QList<SaveRequest> saveRequests;
    QList<Message> questions;

private:
    static std::optional<QString> next(QList<std::optional<QString>>& answers) {
        return answers.isEmpty() ? std::nullopt : answers.takeFirst();
    }
};
