#include "form2_opener.h"

Form2Opener::Form2Opener(Launcher& launcher, Dialogs& dialogs)
    : m_launcher(launcher), m_dialogs(dialogs) {}

Form2Opener::~Form2Opener() {
    delete m_window;
}

Form2* Form2Opener::window() const {
    // A closed window waits for its deletion; it is not open any more.
    return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void Form2Opener::showOrRaise(MainWindowFields& mainWindow, const QString& listFile) {
    if (!window()) {
        delete m_window;
        m_window = new Form2(mainWindow, m_launcher, m_dialogs, listFile);
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        m_window->show();
    } else if (m_window->isMinimized()) {
        m_window->showNormal();
    }
    m_window->raise();
    m_window->activateWindow();
}
