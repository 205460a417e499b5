// SPDX-License-Identifier: GPL-3.0-or-later
// A Linux program that drags a file, as a file manager does, for the Wine
// tests: `drag_source FILE` shows a window titled "drag source" at the bottom
// right, and each press on it starts dragging FILE (X drag and drop, which
// Wine turns into WM_DROPFILES).
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(const QString& file) : m_file(file) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(m_file)});
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QString m_file;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(800, 600, 100, 100);
    source.show();
    return app.exec();
}
