#include "qt_dialogs.h"

#include <QMessageBox>

void QtDialogs::showError(const QString& title, const QString& text) {
    QMessageBox::warning(m_owner, title, text);
}
