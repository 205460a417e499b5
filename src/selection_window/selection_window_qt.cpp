// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_qt.h"

#include "list_file/list_file_access.h"
#include "selection_window/layout.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

SelectionWindow::SelectionWindow(SelectionWindowSeams seams, const ListFileStamp& before,
                                 QWidget* parent)
    : QWidget(parent), m_seams(std::move(seams)) {
    MakeFixedClassicWindow(this, selection_window::kWindow);

    namesField = new QLineEdit(this);
    namesField->setMaxLength(1 << 24);  // a long selection must survive the round trip
    namesField->setVisible(false);
    extractButton = new CaptionButton(ToQString(selection_window::kExtractButton.caption), this);
    fileList = new QListWidget(this);
    fileList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    fileList->setUniformItemSizes(true);  // one line each; spares measuring every entry
    KeepAccessKeysFromTyping(fileList);
    listLabel = new QLabel(ToQString(selection_window::kListLabel.caption), this);
    PlaceControls({{namesField, selection_window::kNamesField},
                   {extractButton, selection_window::kExtractButton},
                   {fileList, selection_window::kFileList},
                   {listLabel, selection_window::kListLabel}});
    NameForScreenReaders(this, selection_window::kAccessibleNames);

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setGeometry(TwipsRectOn(this, selection_window::kNoticeRect));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setVisible(false);

    connect(extractButton, &QPushButton::clicked, this,
            [this] { ExtractSelected(m_seams, *this); });

    loadList(before);
    fileList->setFocus();
}

void SelectionWindow::loadList(const ListFileStamp& before) {
    fileList->clear();
    const ListFileView view =
        ViewOfListFile(ReadListFile(m_seams.listFile, before), m_seams.listFile, DecodeListText);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(view.entries.size()));
    for (const std::u16string& entry : view.entries) entries.append(ToQString(entry));
    fileList->addItems(entries);
    if (!view.notice.empty()) {
        m_notice->setText(ToQString(view.notice));
        m_notice->setToolTip(m_notice->text());
        m_notice->setVisible(true);
    }
}

std::vector<std::u16string> SelectionWindow::selectedEntries() const {
    // Walked by row: selectedItems() would give the order of selecting.
    std::vector<std::u16string> entries;
    for (int row = 0; row < fileList->count(); ++row) {
        const QListWidgetItem* item = fileList->item(row);
        if (item->isSelected()) entries.push_back(ToU16(item->text()));
    }
    return entries;
}

void SelectionWindow::setNamesText(const std::u16string& text) {
    namesField->setText(ToQString(text));
}

std::u16string SelectionWindow::namesText() const {
    return ToU16(namesField->text());
}

SelectionWindowKeeper::SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

SelectionWindowKeeper::~SelectionWindowKeeper() {
    delete m_window;
}

SelectionWindow* SelectionWindowKeeper::window() const {
    // A closed window waits for its deletion; it is not open any more.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void SelectionWindowKeeper::showOrRaise(MainWindowFields& mainWindow,
                                        const std::u16string& listFile,
                                        const ListFileStamp& before) {
    if (!window()) {
        delete m_window;
        m_window = new SelectionWindow({mainWindow, m_launcher, m_dialogs, listFile}, before);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
    } else if (m_window->isMinimized()) {
        m_window->showNormal();
    }
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace zelvorn
