// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "main_window/dialogs_qt.h"
#include "main_window/pickers.h"
#include "window_kit/window_look_qt.h"

using namespace zelvorn;

namespace {

// Runs `act` on the modal dialog once it is up, from inside its own event
// loop; `act` must close it.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) return;
        timer->deleteLater();
        timer->stop();
        act(dialog);
    });
    timer->start(10);
}

// The file-type box as the user reads it, and the name box.
QString Types(QFileDialog* dialog) {
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    QStringList texts;
    for (int i = 0; i < types->count(); ++i) texts << types->itemText(i);
    return texts.join(u'|') + " > " + types->currentText() + " > " +
           dialog->findChild<QLineEdit*>("fileNameEdit")->text();
}

void Confirm(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

}  // namespace

// The real Qt dialogs behind the dialogs seam, answered in-process.
class DialogsQtTest : public QObject {
    Q_OBJECT
private slots:
    void openFileAcceptsATypedNameThatDoesNotExist();
    void saveAsStartsFromTheNameAndNeverAsksToOverwrite();
    void folderBrowserGivesTheFolderOrNothing();
    void warningHasYesAsDefaultAndNoIcon();

private:
    QTemporaryDir dir;
    QWidget owner;
    QtDialogs dialogs{&owner};
};

void DialogsQtTest::openFileAcceptsATypedNameThatDoesNotExist() {
    const QString file = dir.filePath("Fílm 日本.pdi");
    QString shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = dialog->windowTitle() + " in " + dialog->directory().absolutePath() + ": " +
                Types(dialog);
        Confirm(dialog, file);
    });
    QCOMPARE(dialogs.chooseFileToOpen(SourceFileRequest(u"/")), ToU16(file));
    QCOMPARE(shown,
             "Open File in /: InstantCopy Images (*.pdi)|All Files (*.*) > InstantCopy Images "
             "(*.pdi) > ");
    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(dialogs.chooseFileToOpen(SourceFileRequest(u"/")), std::nullopt);
}

void DialogsQtTest::saveAsStartsFromTheNameAndNeverAsksToOverwrite() {
    const QString existing = dir.filePath("disc.iso");
    QFile(existing).open(QIODevice::WriteOnly);
    QString shown;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        shown = Types(dialog);
        // Only a prompt would block here; the dialog closes at once instead.
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto chosen = dialogs.chooseFileToSave(
        ToU16(existing), {{u"ISO-files", u"*.iso"}, {u"All Files", u"*.*"}});
    QCOMPARE(chosen, ToU16(existing));
    QCOMPARE(shown, "ISO-files|All Files > ISO-files > disc.iso");
}

void DialogsQtTest::folderBrowserGivesTheFolderOrNothing() {
    QString title;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        Confirm(dialog, dir.path());
    });
    QCOMPARE(dialogs.chooseFolder(u"Select a folder"), ToU16(dir.path()));
    QCOMPARE(title, "Select a folder");
    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(dialogs.chooseFolder(u"Select a folder"), std::nullopt);
}

void DialogsQtTest::warningHasYesAsDefaultAndNoIcon() {
    for (const bool enter : {true, false}) {
        QString shown;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            shown = box->windowTitle() + ": " + box->text() + (box->icon() == QMessageBox::NoIcon ? "" : " (icon)");
            QTest::keyClick(box, enter ? Qt::Key_Return : Qt::Key_N);
        });
        QCOMPARE(dialogs.askYesNo(u"Warning", u"Size?\r\nContinue?"), enter);
        QCOMPARE(shown, "Warning: Size?\nContinue?");
    }
}

QTEST_MAIN(DialogsQtTest)
#include "dialogs_qt_test.moc"
