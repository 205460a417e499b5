// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/main_window_qt.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>

#include "actions/extract_all.h"
#include "main_window/field_drops_qt.h"
#include "main_window/layout.h"
#include "main_window/pickers.h"
#include "window_kit/caption_controls_qt.h"
#include "window_kit/window_look_qt.h"

namespace zelvorn {

namespace {

// A box in the third state reads as 2 and so matches no row of any table.
int BoxValue(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Unchecked:
            return 0;
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            break;
    }
    return 2;
}

}  // namespace

Form1::Form1(Launcher& launcher, Dialogs& dialogs, Wait& wait,
             SelectionWindowOpener& selectionWindow, ListFileLocation listFile, QWidget* parent)
    : QWidget(parent),
      m_launcher(launcher),
      m_dialogs(dialogs),
      m_wait(wait),
      m_selectionWindow(selectionWindow),
      m_listFile(std::move(listFile)) {
    MakeFixedClassicWindow(this, form1::kWindow);

    // Frames first, so every other control is drawn above them.
    Frame1 = new CaptionFrame(ToQString(form1::Frame1.caption), this);
    Frame2 = new CaptionFrame(ToQString(form1::Frame2.caption), this);
    Frame3 = new CaptionFrame(ToQString(form1::Frame3.caption), this);
    Text1 = new QLineEdit(this);
    Text2 = new QLineEdit(Frame2);
    Command1 = new CaptionButton(ToQString(form1::Command1.caption), this);
    Command4 = new CaptionButton(ToQString(form1::Command4.caption), this);
    Check1 = new CaptionCheckBox(ToQString(form1::Check1.caption), Frame3);
    Check2 = new CaptionCheckBox(ToQString(form1::Check2.caption), Frame3);
    Check3 = new CaptionCheckBox(ToQString(form1::Check3.caption), Frame3);
    Command6 = new CaptionButton(ToQString(form1::Command6.caption), this);
    Command5 = new CaptionButton(ToQString(form1::Command5.caption), this);
    Command3 = new CaptionButton(ToQString(form1::Command3.caption), this);
    Command2 = new CaptionButton(ToQString(form1::Command2.caption), this);
    PlaceControls({{Frame1, form1::Frame1},
                   {Frame2, form1::Frame2},
                   {Frame3, form1::Frame3},
                   {Text1, form1::Text1},
                   {Text2, form1::Text2},
                   {Command1, form1::Command1},
                   {Command4, form1::Command4},
                   {Check1, form1::Check1},
                   {Check2, form1::Check2},
                   {Check3, form1::Check3},
                   {Command6, form1::Command6},
                   {Command5, form1::Command5},
                   {Command3, form1::Command3},
                   {Command2, form1::Command2}});

    // QLineEdit stops at 32,767 characters by default; a path field should not.
    for (QLineEdit* field : {Text1, Text2}) {
        field->setMaxLength(1 << 24);
        field->installEventFilter(this);
        KeepAccessKeysFromTyping(field);
    }
    // A screen reader names each field by the caption of its frame.
    Text1->setAccessibleName(Frame1->title());
    Text2->setAccessibleName(Frame2->title());

    // textChanged fires for the program's own changes too, as the handlers expect.
    connect(Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form1::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);

    Form_Load();
    Command1->setFocus();
}

std::u16string Form1::sourcePath() const {
    return ToU16(Text1->text());
}

std::u16string Form1::destinationPath() const {
    return ToU16(Text2->text());
}

void Form1::setDestinationPath(const std::u16string& path) {
    writeText2(ToQString(path));
}

OptionFlags Form1::optionFlags() const {
    return {BoxValue(Check1), BoxValue(Check2), BoxValue(Check3)};
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Text1 && watched != Text2) return QWidget::eventFilter(watched, event);
    const DropField field = watched == Text1 ? DropField::Source : DropField::Destination;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            // Refusing here shows the no-drop cursor before the user lets go.
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedFieldText(field, drag->mimeData()->urls())) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const auto text = DroppedFieldText(field, drop->mimeData()->urls());
            if (!text) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            if (field == DropField::Source) {
                writeText1(*text);
            } else {
                writeText2(*text);
            }
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void Form1::writeText1(const QString& text) {
    // QLineEdit reports only real changes; the handler must run for every write.
    if (Text1->text() == text) {
        Text1_Change();
    } else {
        Text1->setText(text);
    }
}

void Form1::writeText2(const QString& text) {
    if (Text2->text() == text) {
        Text2_Change();
    } else {
        Text2->setText(text);
    }
}

void Form1::Form_Load() {
    if (Text1->text().isEmpty()) {
        Command2->setEnabled(false);
        Command5->setEnabled(false);
        Command6->setEnabled(false);
    }
    if (Text2->text().isEmpty()) {
        Command2->setEnabled(false);
        Command5->setEnabled(false);
    }
}

void Form1::Text1_Change() {
    Command6->setEnabled(true);
}

void Form1::Text2_Change() {
    Command2->setEnabled(true);
    Command5->setEnabled(true);
    Command6->setEnabled(true);
}

void Form1::Command1_Click() {
    if (const auto chosen = m_dialogs.chooseFileToOpen(SourceFileRequest(ToU16(QDir::rootPath())))) {
        writeText1(ToQString(SourceFieldText(*chosen)));
    }
}

void Form1::Command2_Click() {
    ExtractAll(*this, m_launcher, m_dialogs);
}

void Form1::Command3_Click() {
    // Ends the whole program, the file selection window included; extractors
    // already started are separate processes and keep running.
    QCoreApplication::exit(0);
}

void Form1::Command4_Click() {
    if (const auto chosen = m_dialogs.chooseFolder(std::u16string(kFolderBrowserTitle))) {
        writeText2(ToQString(DestinationFieldText(*chosen)));
    }
}

void Form1::Command5_Click() {
    ListAndChoose(*this, m_launcher, m_dialogs, m_wait, m_selectionWindow, m_listFile);
}

void Form1::Command6_Click() {
    ConvertToIso(*this, m_launcher, m_dialogs, CommonDialog1);
}

}  // namespace zelvorn
