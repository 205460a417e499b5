#include "qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

namespace {

// Without a desktop there is nobody to offer a native dialog, and the tests
// that drive the dialogs need Qt's own; elsewhere Qt asks the platform theme.
bool UseNativeDialogs(const QString& platformName) {
    return platformName != QLatin1String("offscreen") && platformName != QLatin1String("minimal");
}

// Shown with its details hidden, this reads exactly as the description.
QString QtNameFilter(const FileFilter& filter) {
    return filter.description + QStringLiteral(" (") + filter.pattern + QLatin1Char(')');
}

void SetCommonOptions(QFileDialog& dialog, QFileDialog::Options options) {
    options |= QFileDialog::HideNameFilterDetails;
    if (!UseNativeDialogs(QGuiApplication::platformName())) {
        options |= QFileDialog::DontUseNativeDialog;
    }
    dialog.setOptions(options);
}

void SetFilters(QFileDialog& dialog, const QList<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) names.append(QtNameFilter(filter));
    dialog.setNameFilters(names);
    if (!names.isEmpty()) dialog.selectNameFilter(names.first());
}

// The one path a confirmed dialog chose; a choice outside the file system
// (which some desktops' dialogs offer) counts as none.
std::optional<QString> ChosenPath(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || !QDir::isAbsolutePath(files.first())) return std::nullopt;
    return files.first();
}

}  // namespace

void QtDialogs::showError(const QString& title, const QString& text) {
    QMessageBox::warning(m_owner, title, text);
}

std::optional<QString> QtDialogs::chooseFileToOpen(const OpenFileRequest& request) {
    QFileDialog dialog(m_owner, request.title, request.startFolder);
    SetCommonOptions(dialog, {});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // AnyFile, not ExistingFile: a typed name is taken as it stands.
    dialog.setFileMode(QFileDialog::AnyFile);
    SetFilters(dialog, request.filters);
    return ChosenPath(dialog);
}

std::optional<QString> QtDialogs::chooseFolder(const QString& title) {
    QFileDialog dialog(m_owner, title, QDir::rootPath());
    SetCommonOptions(dialog, QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    return ChosenPath(dialog);
}

std::optional<QString> QtDialogs::chooseFileToSave(const QString& startName,
                                                   const QList<FileFilter>& filters) {
    // No title and no folder of our own: both are the platform's ("Save As").
    QFileDialog dialog(m_owner);
    SetCommonOptions(dialog, QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetFilters(dialog, filters);
    if (!startName.isEmpty()) dialog.selectFile(startName);
    return ChosenPath(dialog);
}

bool QtDialogs::askYesNo(const QString& title, const QString& text) {
    // Qt breaks lines at "\n"; a carriage return would show as a stray glyph.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, title, shown, QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
