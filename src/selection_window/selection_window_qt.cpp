// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_qt.h"

#include "list_file/list_file_access.h"
#include "selection_window/layout.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

namespace {

// A hidden label of wrapping plain text over `rect`, aligned to its left and `edge`.
QLabel* HiddenText(QWidget* window, const char* name, const TwipsRect& rect, Qt::Alignment edge) {
    auto* label = new QLabel(window);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(TwipsRectOn(window, rect));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | edge);
    label->setTextFormat(Qt::PlainText);
    label->setVisible(false);
    return label;
}

}  // namespace

SelectionWindow::SelectionWindow(SelectionWindowSeams seams, ListRequest request, Pulse& pulse,
                                 QWidget* parent)
    : QWidget(parent),
      m_seams(seams),
      m_watch(std::move(request), pulse, [this](const ListFileView& view) { showView(view); }) {
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

    m_notice = HiddenText(this, "notice", selection_window::kNoticeRect, Qt::AlignBottom);
    m_message = HiddenText(this, "message", selection_window::kMessageRect, Qt::AlignTop);
    // Selectable, so a command it gives can be copied.
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    connect(extractButton, &QPushButton::clicked, this,
            [this] { ExtractSelected(m_seams, *this); });

    fileList->setFocus();
    m_watch.start();
}

void SelectionWindow::closeEvent(QCloseEvent* event) {
    m_watch.stop();
    QWidget::closeEvent(event);
}

void SelectionWindow::showView(const ListFileView& view) {
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(view.entries.size()));
    for (const std::u16string& entry : view.entries) entries.append(ToQString(entry));
    fileList->clear();
    fileList->addItems(entries);
    const bool inListsPlace = view.noticeInListsPlace();
    (inListsPlace ? m_message : m_notice)->setText(ToQString(view.notice));
    m_notice->setToolTip(m_notice->text());
    m_notice->setVisible(!inListsPlace && !view.notice.empty());
    // The focus moves with the list's place and never falls to the button,
    // where Enter would extract everything.
    QWidget* const shown = inListsPlace ? static_cast<QWidget*>(m_message) : fileList;
    QWidget* const hidden = inListsPlace ? static_cast<QWidget*>(fileList) : m_message;
    shown->setVisible(true);
    if (focusWidget() == hidden) shown->setFocus();
    hidden->setVisible(false);
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

void TimerPulse::start(std::function<void()> beat) {
    m_timer.disconnect();
    QObject::connect(&m_timer, &QTimer::timeout, [beat = std::move(beat)] { beat(); });
    m_timer.start(kListLookIntervalMs);
}

void TimerPulse::stop() {
    m_timer.stop();
}

SelectionWindowKeeper::SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs, Pulse& pulse)
    : m_launcher(launcher), m_dialogs(dialogs), m_pulse(pulse) {}

SelectionWindowKeeper::SelectionWindowKeeper(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs), m_pulse(m_timerPulse) {}

SelectionWindowKeeper::~SelectionWindowKeeper() {
    delete m_window;
}

SelectionWindow* SelectionWindowKeeper::window() const {
    // A closed window waits for its deletion; it is not open any more.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void SelectionWindowKeeper::showOrRaise(MainWindowFields& mainWindow, ListRequest request) {
    if (!window()) {
        delete m_window;
        m_window =
            new SelectionWindow({mainWindow, m_launcher, m_dialogs}, std::move(request), m_pulse);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
    } else if (m_window->isMinimized()) {
        m_window->showNormal();
    }
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace zelvorn
