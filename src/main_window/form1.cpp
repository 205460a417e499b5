#include "form1.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

#include "caption_controls.h"
#include "convert_to_iso.h"
#include "extract_all.h"
#include "field_drops.h"
#include "list_file.h"
#include "list_files.h"
#include "pickers.h"
#include "twips.h"
#include "window_look.h"

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

PathKind PathKindOnDisk(const QString& localPath) {
    const QFileInfo info(localPath);
    if (info.isDir()) return PathKind::Folder;
    if (info.isFile()) return PathKind::File;
    return PathKind::Missing;
}

}  // namespace

Form1::Form1(Launcher& launcher, Dialogs& dialogs, Wait& wait, SelectionWindow& selectionWindow,
             QWidget* parent)
    : QWidget(parent),
      m_launcher(launcher),
      m_dialogs(dialogs),
      m_wait(wait),
      m_selectionWindow(selectionWindow) {
    setWindowTitle(QStringLiteral("ZELVORN 0.7"));
    MakeFixedClassicWindow(this, Twips::ForScreenOf(this).rect(0, 0, 4680, 5970).size());
    const Twips tw = Twips::ForScreenOf(this);

    // Frames first, so every other control is drawn above them.
    Frame1 = new CaptionFrame(QStringLiteral("Path to .pdi files:"), this);
    Frame1->setGeometry(tw.rect(120, 480, 4455, 1215));
    Frame2 = new CaptionFrame(QStringLiteral("Destination folder:"), this);
    Frame2->setGeometry(tw.rect(120, 1800, 4455, 1215));
    Frame3 = new CaptionFrame(QStringLiteral("PDI options:"), this);
    Frame3->setGeometry(tw.rect(1560, 3120, 1695, 2775));

    Text1 = new QLineEdit(this);
    Text1->setGeometry(tw.rect(360, 720, 3975, 285));
    Text1->setToolTip(QStringLiteral("Choose which pdi-set you wish to open"));
    Text2 = new QLineEdit(Frame2);
    Text2->setGeometry(tw.rect(240, 240, 3975, 285));
    Text2->setToolTip(QStringLiteral("Choose where you want the files to be written"));
    // QLineEdit stops at 32,767 characters by default; a path field should not.
    for (QLineEdit* field : {Text1, Text2}) field->setMaxLength(1 << 24);
    // A screen reader names each field by the caption of its frame.
    Text1->setAccessibleName(Frame1->title());
    Text1->setAccessibleDescription(Text1->toolTip());
    Text2->setAccessibleName(Frame2->title());
    Text2->setAccessibleDescription(Text2->toolTip());
    for (QLineEdit* field : {Text1, Text2}) field->installEventFilter(this);

    Command1 = new CaptionButton(QStringLiteral("&Browse"), this);
    Command1->setGeometry(tw.rect(3120, 1080, 1095, 495));
    Command4 = new CaptionButton(QStringLiteral("Browse"), this);
    Command4->setGeometry(tw.rect(3120, 2400, 1095, 495));

    Check1 = new CaptionCheckBox(QStringLiteral("Delete PDI-files after processing"), Frame3);
    Check1->setGeometry(tw.rect(120, 240, 1455, 735));
    Check2 = new CaptionCheckBox(QStringLiteral("Create VIDEO_TS directory"), Frame3);
    Check2->setGeometry(tw.rect(120, 1080, 1455, 615));
    Check3 = new CaptionCheckBox(QStringLiteral("Minimize pdixtract when processing"), Frame3);
    Check3->setGeometry(tw.rect(120, 1920, 1335, 615));

    Command6 = new CaptionButton(QStringLiteral("&Convert to Iso"), this);
    Command6->setGeometry(tw.rect(3600, 3840, 975, 615));
    Command5 = new CaptionButton(QStringLiteral("Extract &files"), this);
    Command5->setGeometry(tw.rect(3600, 4560, 975, 615));
    Command3 = new CaptionButton(QStringLiteral("E&xit"), this);
    Command3->setGeometry(tw.rect(120, 5280, 975, 615));
    Command2 = new CaptionButton(QStringLiteral("&Extract all files"), this);
    Command2->setGeometry(tw.rect(3600, 5280, 975, 615));

    // Keyboard order by tab index; the frames take no focus.
    QWidget* const tabOrder[] = {Command1, Text1,    Command2, Command3, Command4, Text2,
                                 Check1,   Command5, Command6, Check2,   Check3};
    for (size_t i = 1; i < std::size(tabOrder); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);

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

QString Form1::sourcePath() const {
    return Text1->text();
}

QString Form1::destinationPath() const {
    return Text2->text();
}

void Form1::setDestinationPath(const QString& path) {
    writeText2(path);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Text1 && watched != Text2) return QWidget::eventFilter(watched, event);
    const DropField field = watched == Text1 ? DropField::Source : DropField::Destination;
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            // Refusing here shows the no-drop cursor before the user lets go.
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DroppedFieldText(field, drag->mimeData()->urls(), PathKindOnDisk)) {
                drag->acceptProposedAction();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const auto text = DroppedFieldText(field, drop->mimeData()->urls(), PathKindOnDisk);
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

OptionFlags Form1::optionFlags() const {
    return {BoxValue(Check1), BoxValue(Check2), BoxValue(Check3)};
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
    if (const auto chosen = m_dialogs.chooseFileToOpen(SourceFileRequest())) {
        writeText1(SourceFieldText(*chosen));
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
    if (const auto chosen = m_dialogs.chooseFolder(FolderBrowserTitle())) {
        writeText2(DestinationFieldText(*chosen));
    }
}

void Form1::Command5_Click() {
    ListFiles(*this, m_launcher, m_dialogs, m_wait, m_selectionWindow, ListFilePath());
}

void Form1::Command6_Click() {
    ConvertToIso(*this, m_launcher, m_dialogs, CommonDialog1);
}
