#pragma once

#include <QList>
#include <QString>

#include "dialogs.h"

// Answers the program's dialogs from a script and remembers what was shown.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QString title;
        QString text;
    };

    void showError(const QString& title, const QString& text) override {
        errors.append({title, text});
    }

    QList<Message> errors;
};
