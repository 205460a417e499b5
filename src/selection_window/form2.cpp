#include "form2.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "caption_controls.h"
#include "command_line.h"
#include "extract_selected.h"
#include "launch_or_report.h"
#include "list_items.h"
#include "twips.h"
#include "window_look.h"

Form2::Form2(MainWindowFields& mainWindow, Launcher& launcher, Dialogs& dialogs,
             const QString& listFile, QWidget* parent)
    : QWidget(parent),
      m_mainWindow(mainWindow),
      m_launcher(launcher),
      m_dialogs(dialogs),
      m_listFile(listFile) {
    setWindowTitle(QStringLiteral("List files"));
    MakeFixedClassicWindow(this, Twips::ForScreenOf(this).rect(0, 0, 5010, 6525).size());
    const Twips tw = Twips::ForScreenOf(this);

    Text1 = new QLineEdit(this);
    Text1->setGeometry(tw.rect(120, 6000, 3135, 375));
    Text1->setMaxLength(1 << 24);  // a long selection must survive the round trip
    Text1->setVisible(false);

    Command2 = new CaptionButton(QStringLiteral("&Extract file(s)"), this);
    Command2->setGeometry(tw.rect(3600, 5640, 1215, 735));

    List1 = new QListWidget(this);
    List1->setGeometry(tw.rect(120, 480, 4695, 4740));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List1->setUniformItemSizes(true);  // one line each; spares measuring every entry

    Label1 = new QLabel(QStringLiteral("Choose which file(s) you want to extract:"), this);
    Label1->setGeometry(tw.rect(240, 120, 4215, 255));
    // The heading names the list for a screen reader.
    List1->setAccessibleName(Label1->text());

    // The empty bottom left, beside the button, where the hidden Text1 lies.
    m_notice = new QLabel(this);
    m_notice->setGeometry(tw.rect(120, 5340, 3360, 1035));
    m_notice->setWordWrap(true);
    m_notice->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setVisible(false);

    setTabOrder(List1, Command2);
    setTabOrder(Command2, Text1);

    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);

    Form_Load();
    List1->setFocus();
}

void Form2::Form_Load() {
    List1->clear();
    // Follows a link to its target: only a plain file is read, never a pipe
    // or device that could block the window or never end.
    const QFileInfo info(m_listFile);
    if (!info.exists()) {
        showNotice(
            QStringLiteral("No list of files: pdixtract has not written %1.").arg(m_listFile));
        return;
    }
    if (!info.isFile()) {
        showNotice(QStringLiteral("The list of files could not be read: %1 is not a plain file.")
                       .arg(m_listFile));
        return;
    }
    if (info.size() > kMaxListFileBytes) {
        showTooLarge();
        return;
    }
    QFile file(m_listFile);
    if (!file.open(QIODevice::ReadOnly)) {
        showNotice(
            QStringLiteral("The list of files could not be read: %1.").arg(file.errorString()));
        return;
    }
    // One byte more than allowed tells a file that is too large, even one
    // that grows while it is read.
    const QByteArray bytes = file.read(kMaxListFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        showNotice(
            QStringLiteral("The list of files could not be read: %1.").arg(file.errorString()));
        return;
    }
    file.close();
    if (bytes.size() > kMaxListFileBytes) {
        showTooLarge();
        return;
    }

    const ListItems items = ReadListItems(bytes);
    List1->addItems(items.entries);
    QStringList notices;
    if (items.leftOut > 0) {
        notices.append(
            QStringLiteral("Only the first 32,767 entries are shown; %1 more were left out.")
                .arg(QLocale(QLocale::English).toString(items.leftOut)));
    }
    if (items.cut == 1) {
        notices.append(QStringLiteral("One entry longer than %1 characters is shown cut.")
                           .arg(kMaxEntryLength));
    } else if (items.cut > 1) {
        notices.append(QStringLiteral("%1 entries longer than %2 characters are shown cut.")
                           .arg(items.cut)
                           .arg(kMaxEntryLength));
    }
    if (!notices.isEmpty()) showNotice(notices.join(u' '));
}

void Form2::showTooLarge() {
    showNotice(QStringLiteral("The list of files is larger than %1 MiB, too large to show.")
                   .arg(kMaxListFileBytes >> 20));
}

void Form2::showNotice(const QString& text) {
    m_notice->setText(text);
    m_notice->setToolTip(text);
    m_notice->setVisible(true);
}

void Form2::Command2_Click() {
    const auto choice = ExtractSelectedChoice(m_mainWindow.optionFlags());
    if (!choice) return;

    QStringList selected;
    const int count = List1->count();
    for (int i = 0; i < count; ++i) {
        const QListWidgetItem* entry = List1->item(i);
        if (entry->isSelected()) selected.append(entry->text());
    }
    // The names travel through the hidden field, which keeps the last press's.
    Text1->setText(NamesText(selected));

    const QString commandLine =
        ComposeCommandLine(QString::fromLatin1(choice->prefix), m_mainWindow.destinationPath(),
                           m_mainWindow.sourcePath(), Text1->text());
    LaunchOrReport(m_launcher, m_dialogs, commandLine, choice->style);
}
