// SPDX-License-Identifier: GPL-3.0-or-later
// Time from a press of "&Extract all files" to the launch call, beside the
// floor: a bare button whose click handler only reads the clock. Also the
// time a real launch keeps the window busy, with a do-nothing extractor.
// Run by hand, not by CTest.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core_fakes.h"
#include "launch/launcher_posix.h"
#include "main_window/main_window_qt.h"

using namespace zelvorn;

namespace {

constexpr int kRounds = 1001;
constexpr int kRealRounds = 101;  // each one starts a process

QElapsedTimer g_clock;

// Reads the clock when called, then hands the launch on (or starts nothing).
class ClockingLauncher : public Launcher {
public:
    explicit ClockingLauncher(Launcher* next = nullptr) : m_next(next) {}
    LaunchResult launch(std::u16string_view commandLine, WindowStyle style) override {
        calledAt = g_clock.nsecsElapsed();
        return m_next != nullptr ? m_next->launch(commandLine, style) : LaunchResult{};
    }
    LaunchResult launchWatched(std::u16string_view commandLine, WindowStyle style) override {
        return launch(commandLine, style);
    }
    qint64 calledAt = 0;

private:
    Launcher* m_next;
};

double MedianMs(std::vector<qint64> nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return nanoseconds[nanoseconds.size() / 2] / 1e6;
}

// Presses "&Extract all files" `rounds` times; returns the median time from
// the press to the launch call and to the end of the click. A null `next`
// starts nothing.
std::pair<double, double> PressExtractAll(Launcher* next, int rounds, int pause = 0) {
    ClockingLauncher launcher(next);
    ScriptedDialogs dialogs;
    RecordingSteps steps;
    MainWindow form({launcher, dialogs, steps, steps, {u"", nullptr}, u"/"});
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fputs("press_to_launch_bench: the main window was never shown\n", stderr);
        std::exit(1);
    }
    form.sourceField->setText(QStringLiteral("/media/sets/My Disc.pdi"));
    form.destinationField->setText(QStringLiteral("/home/user/My Disc"));
    std::vector<qint64> toCall, toReturn;
    for (int round = 0; round < rounds; ++round) {
        const qint64 pressedAt = g_clock.nsecsElapsed();
        QTest::mouseClick(form.extractAllButton, Qt::LeftButton);
        toReturn.push_back(g_clock.nsecsElapsed() - pressedAt);
        toCall.push_back(launcher.calledAt - pressedAt);
        if (pause > 0) {
            QTest::qWait(pause);  // as a user would, and so earlier starts have settled
        }
    }
    return {MedianMs(toCall), MedianMs(toReturn)};
}

double PressBareButton() {
    QPushButton button(QStringLiteral("&Extract all files"));
    qint64 clickedAt = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { clickedAt = g_clock.nsecsElapsed(); });
    button.show();
    if (!QTest::qWaitForWindowExposed(&button)) {
        std::fputs("press_to_launch_bench: the button was never shown\n", stderr);
        std::exit(1);
    }
    std::vector<qint64> toClick;
    for (int round = 0; round < kRounds; ++round) {
        const qint64 pressedAt = g_clock.nsecsElapsed();
        QTest::mouseClick(&button, Qt::LeftButton);
        toClick.push_back(clickedAt - pressedAt);
    }
    return MedianMs(toClick);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    g_clock.start();

    const double floorMs = PressBareButton();
    const auto [toCallMs, recordedReturnMs] = PressExtractAll(nullptr, kRounds);

    // A real launch of a pdixtract that does nothing, directly (no terminal).
    QTemporaryDir bin;
    QFile::link(QStringLiteral("/bin/true"), bin.filePath(QStringLiteral("pdixtract")));
    qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
    ProcessLauncher real(ProcessLauncher::Terminal::Never);
    const auto [realToCallMs, realReturnMs] = PressExtractAll(&real, kRealRounds, 50);

    std::printf("press of \"&Extract all files\", median of %d presses\n", kRounds);
    std::printf("  press to launch call        %7.3f ms  (target: under 2 ms)\n", toCallMs);
    std::printf("  floor: bare button click    %7.3f ms  ratio %.2fx\n", floorMs,
                toCallMs / floorMs);
    std::printf("  press to end of the click   %7.3f ms  (launch recorded, nothing started)\n",
                recordedReturnMs);
    std::printf(
        "  with a real start           %7.3f ms  (launch call %.3f ms after the press; %d "
        "presses)\n",
        realReturnMs, realToCallMs, kRealRounds);
    return 0;
}
