// SPDX-License-Identifier: GPL-3.0-or-later
// A build tool: writes the window icon, as the program draws it, to a PNG
// file for the desktop's icon theme.
//   zelvorn_render_icon SIZE OUTPUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>

#include "window_kit/window_look_qt.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: zelvorn_render_icon SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    // No display is needed to draw into a pixmap.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[1]).toInt(&ok);
    if (!ok || size <= 0) {
        std::fprintf(stderr, "zelvorn_render_icon: not a size: %s\n", argv[1]);
        return 2;
    }
    const QImage image = zelvorn::DrawIcon(size).toImage();
    if (image.size() != QSize(size, size) || !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "zelvorn_render_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
