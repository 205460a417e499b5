// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "actions/convert_to_iso.h"
#include "actions/list_and_choose.h"

namespace zelvorn {

// The main window, "ZELVORN 0.7": the source and destination fields, their
// Browse buttons, three option boxes and the actions. The controls keep the
// program's own names, as members and as object names, so the handlers read
// like the behaviour they implement.
class Form1 : public QWidget, public MainWindowFields {
    Q_OBJECT
public:
    // "Extract files" pauses with `wait` and opens the file selection window
    // through `selectionWindow`; the list file lies at `listFile`.
    Form1(Launcher& launcher, Dialogs& dialogs, Wait& wait, SelectionWindowOpener& selectionWindow,
          ListFileLocation listFile, QWidget* parent = nullptr);

    std::u16string sourcePath() const override;
    std::u16string destinationPath() const override;
    void setDestinationPath(const std::u16string& path) override;
    OptionFlags optionFlags() const override;

    QPushButton* Command1;  // "&Browse" for the source
    QPushButton* Command2;  // "&Extract all files"
    QPushButton* Command3;  // "E&xit"
    QPushButton* Command4;  // "Browse" for the destination
    QPushButton* Command5;  // "Extract &files"
    QPushButton* Command6;  // "&Convert to Iso"
    QLineEdit* Text1;       // source: the chosen .pdi file
    QLineEdit* Text2;       // destination folder
    QCheckBox* Check1;      // "Delete PDI-files after processing"
    QCheckBox* Check2;      // "Create VIDEO_TS directory"
    QCheckBox* Check3;      // "Minimize pdixtract when processing"
    QGroupBox* Frame1;      // "Path to .pdi files:"
    QGroupBox* Frame2;      // "Destination folder:"
    QGroupBox* Frame3;      // "PDI options:"

    // The Save As dialog of "&Convert to Iso", kept for the whole run.
    SaveAsDialog CommonDialog1;

protected:
    // Takes drops onto Text1 and Text2 away from the fields' own text drops:
    // a dropped file or folder becomes the field's path, anything else is refused.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Text1_Change();
    void Text2_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    // Sets a field's text and runs its change handler even when the text
    // stays the same: every write by the program counts as a change.
    void writeText1(const QString& text);
    void writeText2(const QString& text);

    Launcher& m_launcher;
    Dialogs& m_dialogs;
    Wait& m_wait;
    SelectionWindowOpener& m_selectionWindow;
    ListFileLocation m_listFile;
};

}  // namespace zelvorn
