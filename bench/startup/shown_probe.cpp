// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the programs whose start-up the benchmark measures: at the first
// paint of a top-level window it writes the monotonic clock (nanoseconds) and
// the number of widgets to the descriptor named by ZELVORN_BENCH_FD, then ends
// the process at once, so nothing after "shown" is counted.
#include <unistd.h>
#include <QApplication>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

class ShownProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr && widget->isWindow()) {
            // Report once the paint has been handled, not before.
            QMetaObject::invokeMethod(this, &ShownProbe::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report() {
        const long long shownAt = MonotonicNanoseconds();
        char line[64];
        const int length = std::snprintf(line, sizeof line, "%lld %lld\n", shownAt,
                                         static_cast<long long>(QApplication::allWidgets().size()));
        const char* fd = std::getenv("ZELVORN_BENCH_FD");
        if (write(fd != nullptr ? std::atoi(fd) : 1, line, length) != length) {
            std::_Exit(3);
        }
        std::_Exit(0);
    }
};

void InstallShownProbe() {
    qApp->installEventFilter(new ShownProbe(qApp));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallShownProbe)
