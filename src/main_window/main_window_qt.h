// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include "main_window/main_window_controller.h"

namespace zelvorn {

// The main window, "ZELVORN 0.7", in Qt widgets: the source and destination
// fields, their Browse buttons, three option boxes and the actions. What the
// controls do is MainWindowController's; this class makes the widgets and
// forwards their events.
class MainWindow : public QWidget, public MainWindowView {
    Q_OBJECT
public:
    explicit MainWindow(const MainWindowSeams& seams, QWidget* parent = nullptr);

    // Opens the set named by the program's arguments (after the program's
    // own name), or says why not; called once the window is shown.
    void openOnStart(const QStringList& arguments);

    std::u16string sourcePath() const override;
    std::u16string destinationPath() const override;
    OptionBoxes optionBoxes() const override;
    void setSourcePath(const std::u16string& path) override;
    void setDestinationPath(const std::u16string& path) override;
    void showButtonStates(const ActionButtonStates& states) override;
    void quit() override;

    QLineEdit* sourceField;
    QLineEdit* destinationField;
    QPushButton* sourceBrowseButton;
    QPushButton* destinationBrowseButton;
    QCheckBox* deleteAfterBox;
    QCheckBox* videoTsBox;
    QCheckBox* minimizeBox;
    QPushButton* convertToIsoButton;
    QPushButton* extractFilesButton;
    QPushButton* extractAllButton;
    QPushButton* exitButton;
    QGroupBox* sourceFrame;
    QGroupBox* destinationFrame;
    QGroupBox* optionsFrame;

protected:
    // Takes drops onto the two fields away from the fields' own text drops:
    // a dropped file or folder becomes the field's path, anything else is refused.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindowController m_controller;
};

}  // namespace zelvorn
