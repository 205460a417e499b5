// SPDX-License-Identifier: GPL-3.0-or-later
#include "selection_window/selection_window_qt.h"

#include "selection_window/layout.h"
#include "list_file/list_file_access.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

Form2::Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
             const std::u16string& listFile, const ListFileStamp& before, QWidget* parent)
    : QWidget(parent),
      m_mainWindow(mainWindow),
      m_launcher(launcher),
      m_dialogs(dialogs),
      m_listFile(listFile) {
    MakeFixedClassicWindow(this, form2::kWindow);

    Text1 = new QLineEdit(this);
    Text1->setMaxLength(1 << 24);  // a long selection must survive the round trip
    Text1->setVisible(false);
    Command2 = new CaptionButton(ToQString(form2::Command2.caption), this);
    List1 = new QListWidget(this);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setUniformItemSizes(true);  // one line each; spares measuring every entry
    KeepAccessKeysFromTyping(List1);
    Label1 = new QLabel(ToQString(form2::Label1.caption), this);
    PlaceControls({{Text1, form2::Text1},
                   {Command2, form2::Command2},
                   {List1, form2::List1},
                   {Label1, form2::Label1}});
    // The heading names the list for a screen reader.
    List1->setAccessibleName(Label1->text());

    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("notice"));
    m_notice->setGeometry(TwipsRectOn(this, form2::kNoticeRect));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setVisible(false);

    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);

    Form_Load(before);
    List1->setFocus();
}

void Form2::Form_Load(const ListFileStamp& before) {
    List1->clear();
    const ListFileView view =
        ViewOfListFile(ReadListFile(m_listFile, before), m_listFile, DecodeListText);
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(view.entries.size()));
    for (const std::u16string& entry : view.entries) entries.append(ToQString(entry));
    List1->addItems(entries);
    if (!view.notice.empty()) {
        m_notice->setText(ToQString(view.notice));
        m_notice->setToolTip(m_notice->text());
        m_notice->setVisible(true);
    }
}

std::size_t Form2::entryCount() const {
    return static_cast<std::size_t>(List1->count());
}

std::u16string Form2::entryText(std::size_t index) const {
    return ToU16(List1->item(static_cast<int>(index))->text());
}

bool Form2::isSelected(std::size_t index) const {
    return List1->item(static_cast<int>(index))->isSelected();
}

void Form2::setNamesField(const std::u16string& text) {
    Text1->setText(ToQString(text));
}

std::u16string Form2::namesField() const {
    return ToU16(Text1->text());
}

void Form2::Command2_Click() {
    ExtractSelected(m_mainWindow, *this, m_launcher, m_dialogs);
}

Form2Opener::Form2Opener(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

Form2Opener::~Form2Opener() {
    delete m_window;
}

Form2* Form2Opener::window() const {
    // A closed window waits for its deletion; it is not open any more.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void Form2Opener::showOrRaise(MainWindowFields& mainWindow, const std::u16string& listFile,
                              const ListFileStamp& before) {
    if (!window()) {
        delete m_window;
        m_window = new Form2(mainWindow, m_launcher, m_dialogs, listFile, before);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
    } else if (m_window->isMinimized()) {
        m_window->showNormal();
    }
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace zelvorn
