#pragma once

#include <QFont>
#include <QIcon>

class QWidget;

// The program's window icon, drawn at 32 by 32 pixels (and larger for
// high-DPI screens): a disc with an arrow coming out of it.
QIcon ZelvornIcon();

// The font both windows use: small enough for the fixed classic layout,
// large enough to read.
QFont ClassicFont();

// Gives `window` its fixed client size, the icon and the font, and asks the
// window system for no maximise or minimise button.
void MakeFixedClassicWindow(QWidget* window, QSize clientSize);
