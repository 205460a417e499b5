// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the "List files" window on a list file of 32,767 entries, beside
// the floor: a bare QListWidget filled with the same items. Prints time and
// retained heap for both and their ratios. Run by hand, not by CTest.
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/utf8.h"
#include "core_fakes.h"
#include "selection_window/selection_window_qt.h"
#include "window_kit/window_look_qt.h"

using namespace zelvorn;

namespace {

constexpr int kRuns = 31;

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

struct Sample {
    double ms;
    double retainedKiB;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Least(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// Runs `open` (which makes and shows a window) and measures it up to the
// first paint; the window is kept until the heap is read, then deleted.
template <typename Open>
Sample Measure(Open open) {
    const size_t before = HeapInUse();
    QElapsedTimer timer;
    timer.start();
    QWidget* window = open();
    QCoreApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    const size_t after = HeapInUse();
    delete window;
    QCoreApplication::processEvents();
    return {ms, (double(after) - double(before)) / 1024.0};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString path = dir.filePath("pdilist.txt");
    QByteArray bytes;
    for (std::size_t i = 0; i < kMaxListEntries; ++i) {
        bytes += QByteArray("VTS_") + QByteArray::number(qulonglong(i)).rightJustified(5, '0') +
                 "_1.VOB 1073741824\r\n";
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();
    QStringList items;
    for (const std::u16string& entry :
         ReadListItems(std::string_view(bytes.constData(), bytes.size()), base::Utf8ToUtf16)
             .entries) {
        items.append(ToQString(entry));
    }

    FakeMainWindowFields fields;
    RecordingLauncher launcher;
    ScriptedDialogs dialogs;
    ManualPulse pulse;

    // The floor gets its own copies of the strings, as the window reads its
    // own. A bare list measures every entry when first laid out; the tight
    // floor is told, as the window's list is, that all entries are one line.
    auto fill = [&](bool uniform) {
        QStringList copies;
        copies.reserve(items.size());
        for (const QString& item : items) copies.append(QString(item.constData(), item.size()));
        auto* list = new QListWidget;
        list->resize(313, 316);
        list->setUniformItemSizes(uniform);
        list->addItems(copies);
        list->show();
        return list;
    };
    auto floor = [&] { return fill(false); };
    auto tightFloor = [&] { return fill(true); };
    auto form2 = [&] {
        auto* window = new SelectionWindow({fields, launcher, dialogs},
                                           ListRequest{ToU16(path), {}, nullptr}, pulse);
        window->show();
        return window;
    };

    Measure(floor);  // warm up fonts, styles and caches
    Measure(tightFloor);
    Measure(form2);
    std::vector<double> floorMs, floorKiB, tightMs, tightKiB, formMs, formKiB;
    for (int run = 0; run < kRuns; ++run) {
        const Sample f = Measure(floor);
        const Sample t = Measure(tightFloor);
        const Sample w = Measure(form2);
        floorMs.push_back(f.ms);
        floorKiB.push_back(f.retainedKiB);
        tightMs.push_back(t.ms);
        tightKiB.push_back(t.retainedKiB);
        formMs.push_back(w.ms);
        formKiB.push_back(w.retainedKiB);
    }
    const double fm = Median(floorMs), fk = Median(floorKiB);
    const double tm = Median(tightMs), tk = Median(tightKiB);
    const double wm = Median(formMs), wk = Median(formKiB);
    std::printf("open List files, %lld entries, median of %d runs\n",
                static_cast<long long>(kMaxListEntries), kRuns);
    std::printf("  floor, bare QListWidget:      %8.2f ms  %9.0f KiB\n", fm, fk);
    std::printf("  floor, one-line entries:      %8.2f ms  %9.0f KiB\n", tm, tk);
    std::printf("  list window, read and fill:  %8.2f ms  %9.0f KiB\n", wm, wk);
    std::printf("  ratio to bare floor:      time %.2fx  memory %.2fx  (target <= 1.5x)\n", wm / fm,
                wk / fk);
    std::printf("  ratio to one-line floor:  time %.2fx  memory %.2fx\n", wm / tm, wk / tk);
    // The least time of the runs is the one least disturbed by other work.
    std::printf(
        "  fastest runs: bare %.2f ms, one-line %.2f ms, list window %.2f ms: %.2fx, %.2fx\n",
        Least(floorMs), Least(tightMs), Least(formMs), Least(formMs) / Least(floorMs),
        Least(formMs) / Least(tightMs));
    return 0;
}
