// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_qt.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <vector>

#include "main_window/layout.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

namespace {

BoxState StateOf(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Unchecked:
            return BoxState::Unchecked;
        case Qt::Checked:
            return BoxState::Checked;
        case Qt::PartiallyChecked:
            break;
    }
    return BoxState::Indeterminate;
}

// A local path as the main window's rules see it.
PathItem PathItemOf(const QString& path) {
    const QFileInfo info(path);
    const PathKind kind = info.isDir()    ? PathKind::Folder
                          : info.isFile() ? PathKind::File
                                          : PathKind::Missing;
    return {ToU16(info.absoluteFilePath()), kind};
}

// A drop's URLs as the main window's rules see them.
std::vector<PathItem> DroppedItems(const QMimeData* data) {
    std::vector<PathItem> items;
    for (const QUrl& url : data->urls()) {
        items.push_back(url.isLocalFile() ? PathItemOf(url.toLocalFile()) : PathItem{});
    }
    return items;
}

}  // namespace

MainWindow::MainWindow(const MainWindowSeams& seams, QWidget* parent)
    : QWidget(parent), m_controller(*this, seams) {
    namespace layout = main_window;
    MakeFixedClassicWindow(this, layout::kWindow);

    // Frames first, so every other control is drawn above them.
    sourceFrame = new CaptionFrame(ToQString(layout::kSourceFrame.caption), this);
    destinationFrame = new CaptionFrame(ToQString(layout::kDestinationFrame.caption), this);
    optionsFrame = new CaptionFrame(ToQString(layout::kOptionsFrame.caption), this);
    sourceField = new QLineEdit(this);
    destinationField = new QLineEdit(destinationFrame);
    sourceBrowseButton = new CaptionButton(ToQString(layout::kSourceBrowseButton.caption), this);
    destinationBrowseButton =
        new CaptionButton(ToQString(layout::kDestinationBrowseButton.caption), this);
    deleteAfterBox = new CaptionCheckBox(ToQString(layout::kDeleteAfterBox.caption), optionsFrame);
    videoTsBox = new CaptionCheckBox(ToQString(layout::kVideoTsBox.caption), optionsFrame);
    minimizeBox = new CaptionCheckBox(ToQString(layout::kMinimizeBox.caption), optionsFrame);
    convertToIsoButton = new CaptionButton(ToQString(layout::kConvertToIsoButton.caption), this);
    extractFilesButton = new CaptionButton(ToQString(layout::kExtractFilesButton.caption), this);
    exitButton = new CaptionButton(ToQString(layout::kExitButton.caption), this);
    extractAllButton = new CaptionButton(ToQString(layout::kExtractAllButton.caption), this);
    PlaceControls({{sourceFrame, layout::kSourceFrame},
                   {destinationFrame, layout::kDestinationFrame},
                   {optionsFrame, layout::kOptionsFrame},
                   {sourceField, layout::kSourceField},
                   {destinationField, layout::kDestinationField},
                   {sourceBrowseButton, layout::kSourceBrowseButton},
                   {destinationBrowseButton, layout::kDestinationBrowseButton},
                   {deleteAfterBox, layout::kDeleteAfterBox},
                   {videoTsBox, layout::kVideoTsBox},
                   {minimizeBox, layout::kMinimizeBox},
                   {convertToIsoButton, layout::kConvertToIsoButton},
                   {extractFilesButton, layout::kExtractFilesButton},
                   {exitButton, layout::kExitButton},
                   {extractAllButton, layout::kExtractAllButton}});

    // QLineEdit stops at 32,767 characters by default; a path field should not.
    for (QLineEdit* field : {sourceField, destinationField}) {
        field->setMaxLength(1 << 24);
        field->installEventFilter(this);
        KeepAccessKeysFromTyping(field);
    }
    NameForScreenReaders(this, layout::kAccessibleNames);

    MainWindowController& controller = m_controller;
    // textChanged fires for the program's own changes too, as the handlers expect.
    connect(sourceField, &QLineEdit::textChanged, this,
            [&controller] { controller.onSourceChanged(); });
    connect(destinationField, &QLineEdit::textChanged, this,
            [&controller] { controller.onDestinationChanged(); });
    for (const PressHandler& press : kPressHandlers) {
        const QString name = QLatin1String(press.control.data(), qsizetype(press.control.size()));
        connect(findChild<QPushButton*>(name), &QPushButton::clicked, this,
                [&controller, handler = press.handler] { (controller.*handler)(); });
    }

    m_controller.onLoad();
    sourceBrowseButton->setFocus();
}

void MainWindow::openOnStart(const QStringList& arguments) {
    std::vector<PathItem> items;
    for (const QString& argument : arguments) items.push_back(PathItemOf(argument));
    m_controller.onStart(items);
}

std::u16string MainWindow::sourcePath() const {
    return ToU16(sourceField->text());
}

std::u16string MainWindow::destinationPath() const {
    return ToU16(destinationField->text());
}

OptionBoxes MainWindow::optionBoxes() const {
    return {StateOf(deleteAfterBox), StateOf(videoTsBox), StateOf(minimizeBox)};
}

// QLineEdit reports only real changes; the change handler must run for every
// write by the program, the same text included.
void MainWindow::setSourcePath(const std::u16string& path) {
    const QString text = ToQString(path);
    if (sourceField->text() == text) {
        m_controller.onSourceChanged();
    } else {
        sourceField->setText(text);
    }
}

void MainWindow::setDestinationPath(const std::u16string& path) {
    const QString text = ToQString(path);
    if (destinationField->text() == text) {
        m_controller.onDestinationChanged();
    } else {
        destinationField->setText(text);
    }
}

void MainWindow::showButtonStates(const ActionButtonStates& states) {
    extractAllButton->setEnabled(states.extractAll);
    extractFilesButton->setEnabled(states.extractFiles);
    convertToIsoButton->setEnabled(states.convertToIso);
}

void MainWindow::quit() {
    QCoreApplication::exit(0);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != sourceField && watched != destinationField) {
        return QWidget::eventFilter(watched, event);
    }
    const DropTarget target =
        watched == sourceField ? DropTarget::SourceField : DropTarget::DestinationField;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            // Refusing here shows the no-drop cursor before the user lets go.
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (m_controller.acceptsDrop(target, DroppedItems(drag->mimeData()))) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (m_controller.onDrop(target, DroppedItems(drop->mimeData()))) {
                drop->acceptProposedAction();
            } else {
                drop->ignore();
            }
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace zelvorn
