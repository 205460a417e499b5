#pragma once

#include <QList>
#include <functional>

#include "wait.h"

// Records each wait instead of sleeping; `onWait` lets a test look at the
// world at that moment.
class RecordingWait : public Wait {
public:
    void wait(int milliseconds) override {
        waits.append(milliseconds);
        if (onWait) onWait();
    }

    QList<int> waits;
    std::function<void()> onWait;
};
