#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "pickers.h"
#include "qt_dialogs.h"

namespace {

// Runs `act` on the modal dialog of type T once it is up, from inside the
// dialog's own event loop; `act` must close it. Checks belong after the
// dialog call returns, so a failing check never leaves a dialog open.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
    });
    timer->start();
}

// What a file dialog showed when it came up.
struct Shown {
    QString title;
    QString directory;
    QStringList typeList;  // the texts of the file-type box, as the user reads them
    QString selectedType;
    QString fileName;  // the file-name box
    QFileDialog::Options options;
    QFileDialog::FileMode fileMode{};
    QFileDialog::AcceptMode acceptMode{};
    QString defaultSuffix;
    QWidget* parent = nullptr;
};

Shown Look(QFileDialog* dialog) {
    Shown shown;
    shown.title = dialog->windowTitle();
    shown.directory = dialog->directory().absolutePath();
    if (auto* types = dialog->findChild<QComboBox*>("fileTypeCombo")) {
        for (int i = 0; i < types->count(); ++i) shown.typeList << types->itemText(i);
        shown.selectedType = types->currentText();
    }
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) shown.fileName = name->text();
    shown.options = dialog->options();
    shown.fileMode = dialog->fileMode();
    shown.acceptMode = dialog->acceptMode();
    shown.defaultSuffix = dialog->defaultSuffix();
    shown.parent = dialog->parentWidget();
    return shown;
}

// Types a name into the file-name box and confirms, as a user would.
void TypeAndConfirm(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    edit->setText(name);
    static_cast<QDialog*>(dialog)->accept();  // what the Open or Save button does
}

}  // namespace

// The real Qt dialogs behind the Dialogs seam, opened and answered in-process
// (offscreen, so always Qt's own dialogs).
class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void openFileDialog();
    void openFileCancel();
    void folderBrowser_data();
    void folderBrowser();
    void folderBrowserCancel();
    void saveAsFirstUse();
    void saveAsStartsFromTheName();
    void saveAsNeverAsksAboutOverwriting();
    void saveAsCancel();
    void yesNoQuestion_data();
    void yesNoQuestion();

private:
    QWidget* m_owner = nullptr;
    QtDialogs* m_dialogs = nullptr;
    QTemporaryDir* m_dir = nullptr;
};

void QtDialogsTest::init() {
    m_owner = new QWidget;
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner));
    m_dialogs = new QtDialogs(m_owner);
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void QtDialogsTest::cleanup() {
    delete m_dir;
    delete m_dialogs;
    delete m_owner;
}

void QtDialogsTest::openFileDialog() {
    // A typed name of a file that does not exist, beyond ASCII.
    const QString file = m_dir->filePath("Fílm 日本.pdi");
    Shown shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = Look(dialog);
        TypeAndConfirm(dialog, file);
    });
    const auto chosen = m_dialogs->chooseFileToOpen(SourceFileRequest());
    QCOMPARE(chosen, std::optional<QString>(file));
    QCOMPARE(shown.title, "Open File");
    QCOMPARE(shown.directory, "/");
    QCOMPARE(shown.typeList, (QStringList{"InstantCopy Images (*.pdi)", "All Files (*.*)"}));
    QCOMPARE(shown.selectedType, "InstantCopy Images (*.pdi)");
    QCOMPARE(shown.fileName, "");
    QVERIFY(shown.options.testFlag(QFileDialog::DontUseNativeDialog));
    QCOMPARE(shown.acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(shown.fileMode, QFileDialog::AnyFile);
    QCOMPARE(shown.parent, m_owner);
}

void QtDialogsTest::openFileCancel() {
    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(m_dialogs->chooseFileToOpen(SourceFileRequest()), std::nullopt);
}

void QtDialogsTest::folderBrowser_data() {
    QTest::addColumn<QString>("folder");  // under the temporary folder; "/" for the root
    QTest::newRow("folder beyond ASCII") << "Фильмы é";
    QTest::newRow("root") << "/";
}

void QtDialogsTest::folderBrowser() {
    QFETCH(QString, folder);
    const QString path = folder == "/" ? "/" : m_dir->filePath(folder);
    QVERIFY(QDir().mkpath(path));
    Shown shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = Look(dialog);
        dialog->setDirectory(path);
        static_cast<QDialog*>(dialog)->accept();  // what its Choose button does
    });
    const auto chosen = m_dialogs->chooseFolder("Select a folder");
    QVERIFY(chosen);
    QCOMPARE(DestinationFieldText(*chosen), path);
    QCOMPARE(shown.title, "Select a folder");
    QCOMPARE(shown.directory, "/");
    QCOMPARE(shown.fileMode, QFileDialog::Directory);
    QVERIFY(shown.options.testFlag(QFileDialog::ShowDirsOnly));
    QVERIFY(shown.options.testFlag(QFileDialog::DontUseNativeDialog));
    QCOMPARE(shown.parent, m_owner);
}

void QtDialogsTest::folderBrowserCancel() {
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->setDirectory(m_dir->path());
        dialog->reject();
    });
    QCOMPARE(m_dialogs->chooseFolder("Select a folder"), std::nullopt);
    // The next browser starts afresh, not where the last one was left.
    QString directory;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        directory = dialog->directory().absolutePath();
        dialog->reject();
    });
    m_dialogs->chooseFolder("Select a folder");
    QCOMPARE(directory, "/");
}

void QtDialogsTest::saveAsFirstUse() {
    Shown shown;
    const QString name = m_dir->filePath("film");  // no extension, and none is added
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = Look(dialog);
        TypeAndConfirm(dialog, name);
    });
    const auto chosen =
        m_dialogs->chooseFileToSave("", {{"ISO-files", "*.iso"}, {"All Files", "*.*"}});
    QCOMPARE(chosen, std::optional<QString>(name));
    QCOMPARE(shown.title, "Save As");
    QCOMPARE(shown.typeList, (QStringList{"ISO-files", "All Files"}));
    QCOMPARE(shown.selectedType, "ISO-files");
    QCOMPARE(shown.fileName, "");
    QCOMPARE(shown.acceptMode, QFileDialog::AcceptSave);
    QCOMPARE(shown.defaultSuffix, "");
    QVERIFY(shown.options.testFlag(QFileDialog::DontConfirmOverwrite));
    QVERIFY(shown.options.testFlag(QFileDialog::DontUseNativeDialog));
    QCOMPARE(shown.parent, m_owner);
}

void QtDialogsTest::saveAsStartsFromTheName() {
    const QString previous = m_dir->filePath("My Images/film.iso");
    QVERIFY(QDir().mkpath(m_dir->filePath("My Images")));
    Shown shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = Look(dialog);
        static_cast<QDialog*>(dialog)->accept();  // confirms the name as it came up
    });
    const auto chosen = m_dialogs->chooseFileToSave(previous, {{"ISO-files", "*.iso"}});
    QCOMPARE(shown.directory, m_dir->filePath("My Images"));
    QCOMPARE(shown.fileName, "film.iso");
    QCOMPARE(chosen, std::optional<QString>(previous));
}

void QtDialogsTest::saveAsNeverAsksAboutOverwriting() {
    const QString existing = m_dir->filePath("disc.iso");
    QFile(existing).open(QIODevice::WriteOnly);
    WhenShown<QFileDialog>([&](QFileDialog* dialog) { TypeAndConfirm(dialog, existing); });
    // A question about overwriting would block here and time the test out.
    QCOMPARE(m_dialogs->chooseFileToSave("", {{"ISO-files", "*.iso"}}),
             std::optional<QString>(existing));
}

void QtDialogsTest::saveAsCancel() {
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText("typed, then cancelled");
        dialog->reject();
    });
    QCOMPARE(m_dialogs->chooseFileToSave(m_dir->filePath("a.iso"), {}), std::nullopt);
}

void QtDialogsTest::yesNoQuestion_data() {
    QTest::addColumn<QString>("answer");  // "Return", "Escape", "No", "n"
    QTest::addColumn<bool>("yes");
    QTest::newRow("Enter takes the default") << "Return" << true;
    QTest::newRow("Escape") << "Escape" << false;
    QTest::newRow("No clicked") << "No" << false;
    QTest::newRow("N key") << "n" << false;
}

void QtDialogsTest::yesNoQuestion() {
    QFETCH(QString, answer);
    QFETCH(bool, yes);
    QString title, text;
    QMessageBox::Icon icon{};
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton defaultButton{};
    QWidget* parent = nullptr;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons()) buttons << box->standardButton(button);
        defaultButton = box->standardButton(box->defaultButton());
        parent = box->parentWidget();
        if (answer == "No") {
            box->button(QMessageBox::No)->click();
        } else if (answer == "n") {
            QTest::keyClick(box, Qt::Key_N);
        } else {
            QTest::keyClick(box, answer == "Return" ? Qt::Key_Return : Qt::Key_Escape);
        }
    });
    const bool result = m_dialogs->askYesNo("Warning", "First line.\r\nContinue?");
    QTRY_VERIFY(!QApplication::activeModalWidget());  // a key may animate its click first
    QCOMPARE(result, yes);
    QCOMPARE(title, "Warning");
    QCOMPARE(text, "First line.\nContinue?");
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons.size(), 2);
    QVERIFY(buttons.contains(QMessageBox::Yes) && buttons.contains(QMessageBox::No));
    QCOMPARE(defaultButton, QMessageBox::Yes);
    QCOMPARE(parent, m_owner);
}

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
