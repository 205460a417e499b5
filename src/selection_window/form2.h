#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "dialogs.h"
#include "launcher.h"
#include "main_window_fields.h"

// The file selection window, "List files": the entries of the list file, read
// once when the window is made, and "Extract file(s)", which extracts the
// selected ones with the main window's paths and boxes as they are at the
// press. A short notice at the bottom left says when the list file was
// missing or unreadable, or entries were left out.
class Form2 : public QWidget {
    Q_OBJECT
public:
    Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
          const QString& listFile, QWidget* parent = nullptr);

    // The notice line; empty and hidden when there is nothing to say.
    QLabel* notice() const { return m_notice; }

    QListWidget* List1;     // the entries, extended selection
    QPushButton* Command2;  // "&Extract file(s)"
    QLineEdit* Text1;       // hidden; carries the names text of the last press
    QLabel* Label1;         // "Choose which file(s) you want to extract:"

private:
    void Form_Load();
    void Command2_Click();
    void showNotice(const QString& text);
    // The notice for a list file larger than kMaxListFileBytes.
    void showTooLarge();

    MainWindowFields& m_mainWindow;
    Launcher& m_launcher;
    Dialogs& m_dialogs;
    QString m_listFile;
    QLabel* m_notice;
};
