// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up benchmark: a minimal Qt program that shows one
// window with as many widgets, of the same kinds, as Zelvorn's main window.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.setFixedSize(312, 398);
    for (int i = 0; i < 3; ++i) {
        (new QGroupBox(QStringLiteral("Frame"), &window))->setGeometry(8, 8 + i * 90, 296, 80);
    }
    for (int i = 0; i < 2; ++i) {
        (new QLineEdit(&window))->setGeometry(24, 30 + i * 90, 264, 20);
    }
    for (int i = 0; i < 6; ++i) {
        (new QPushButton(QStringLiteral("Button"), &window))->setGeometry(8 + i * 50, 350, 46, 40);
    }
    for (int i = 0; i < 3; ++i) {
        (new QCheckBox(QStringLiteral("Option"), &window))->setGeometry(110, 230 + i * 40, 100, 36);
    }
    window.show();
    return app.exec();
}
