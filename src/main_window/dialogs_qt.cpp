// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/dialogs_qt.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "window_kit/window_look_qt.h"

namespace zelvorn {

namespace {

// Without a desktop there is nobody to offer a native dialog, and the tests
// that drive the dialogs need Qt's own; elsewhere Qt asks the platform theme.
bool UseNativeDialogs(const QString& platformName) {
    return platformName != QLatin1String("offscreen") && platformName != QLatin1String("minimal");
}

// Shown with its details hidden, this reads exactly as the description.
QString QtNameFilter(const FileFilter& filter) {
    return ToQString(filter.description) + QStringLiteral(" (") + ToQString(filter.pattern) +
           QLatin1Char(')');
}

void SetCommonOptions(QFileDialog& dialog, QFileDialog::Options options) {
    options |= QFileDialog::HideNameFilterDetails;
    if (!UseNativeDialogs(QGuiApplication::platformName())) {
        options |= QFileDialog::DontUseNativeDialog;
    }
    dialog.setOptions(options);
}

void SetFilters(QFileDialog& dialog, const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) names.append(QtNameFilter(filter));
    dialog.setNameFilters(names);
    if (!names.isEmpty()) dialog.selectNameFilter(names.first());
}

// The one path a confirmed dialog chose; a choice outside the file system
// (which some desktops' dialogs offer) counts as none.
std::optional<std::u16string> ChosenPath(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || !QDir::isAbsolutePath(files.first())) return std::nullopt;
    return ToU16(files.first());
}

}  // namespace

void QtDialogs::showError(const std::u16string& title, const std::u16string& text) {
    QMessageBox::warning(m_owner, ToQString(title), ToQString(text));
}

std::optional<std::u16string> QtDialogs::chooseFileToOpen(const OpenFileRequest& request) {
    QFileDialog dialog(m_owner, ToQString(request.title), ToQString(request.startFolder));
    SetCommonOptions(dialog, {});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // AnyFile, not ExistingFile: a typed name is taken as it stands.
    dialog.setFileMode(QFileDialog::AnyFile);
    SetFilters(dialog, request.filters);
    return ChosenPath(dialog);
}

std::optional<std::u16string> QtDialogs::chooseFolder(const std::u16string& title) {
    QFileDialog dialog(m_owner, ToQString(title), QDir::rootPath());
    SetCommonOptions(dialog, QFileDialog::ShowDirsOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    return ChosenPath(dialog);
}

std::optional<std::u16string> QtDialogs::chooseFileToSave(const std::u16string& startName,
                                                          const std::vector<FileFilter>& filters) {
    // No title and no folder of our own: both are the platform's ("Save As").
    QFileDialog dialog(m_owner);
    SetCommonOptions(dialog, QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetFilters(dialog, filters);
    if (!startName.empty()) dialog.selectFile(ToQString(startName));
    return ChosenPath(dialog);
}

bool QtDialogs::askYesNo(const std::u16string& title, const std::u16string& text) {
    // Qt breaks lines at "\n"; a carriage return would show as a stray glyph.
    QString shown = ToQString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, ToQString(title), shown,
                    QMessageBox::Yes | QMessageBox::No, m_owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace zelvorn
