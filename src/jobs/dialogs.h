#pragma once

#include <optional>

#include <QList>
#include <QString>

// One entry of a file dialog's type list: the text the user reads and the
// pattern of the files it shows.
struct FileFilter {
    QString description;
    QString pattern;

    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// What an open-file dialog shows when it comes up.
struct OpenFileRequest {
    QString title;
    QList<FileFilter> filters;  // in the order shown; the first is selected
    QString startFolder;

    friend bool operator==(const OpenFileRequest&, const OpenFileRequest&) = default;
};

// The modal questions and messages the windows put to the user, behind one
// seam so tests can answer them without a person at the keyboard.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows an error message with an OK button and waits until it is closed.
    virtual void showError(const QString& title, const QString& text) = 0;
    // Asks for one file to open; a typed name of a file that does not exist is
    // accepted. Returns the chosen path, or nothing when the user cancelled.
    virtual std::optional<QString> chooseFileToOpen(const OpenFileRequest& request) = 0;
    // Asks for a folder in a browser that starts afresh every time. Returns the
    // chosen folder's absolute path, or nothing when cancelled or when the
    // choice has no path in the file system.
    virtual std::optional<QString> chooseFolder(const QString& title) = 0;
    // A Save As dialog that starts with `startName` filled in (empty: none),
    // never asks about overwriting and adds no extension. Returns the name the
    // user confirmed, or nothing when cancelled.
    virtual std::optional<QString> chooseFileToSave(const QString& startName,
                                                    const QList<FileFilter>& filters) = 0;
    // Asks a question with the buttons Yes and No, Yes the default, no icon.
    // True only for Yes.
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
};
