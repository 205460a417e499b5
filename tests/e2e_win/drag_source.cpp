// SPDX-License-Identifier: GPL-3.0-or-later
// A Linux program that drags a file, as a file manager does, for the Wine
// tests: `drag_source FILE` shows a window titled "drag source" at the bottom
// right, and a press on it starts dragging FILE (X drag and drop, which Wine
// turns into WM_DROPFILES). While the window under the pointer takes the
// drag, the title reads "drag taken", so the test knows when to let go.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

struct DragSource : QWidget {
    QString file;
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(file)});
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        connect(drag, &QDrag::actionChanged, this, [this](Qt::DropAction action) {
            setWindowTitle(action == Qt::CopyAction ? "drag taken" : "drag source");
        });
        drag->exec(Qt::CopyAction);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    DragSource source;
    source.file = QString::fromLocal8Bit(argv[1]);
    source.setWindowTitle("drag source");
    source.setGeometry(800, 600, 100, 100);
    source.show();
    return app.exec();
}
