#pragma once

#include <QList>
#include <QString>

#include "launcher.h"

// Records every launch instead of starting anything; answers with a result
// the test chooses.
class RecordingLauncher : public Launcher {
public:
    struct Launch {
        QString commandLine;
        WindowStyle style;
    };

    LaunchResult launch(const QString& commandLine, WindowStyle style) override {
        launches.append({commandLine, style});
        return result;
    }

    QList<Launch> launches;
    LaunchResult result;  // what every launch answers; Started unless a test says otherwise
};
