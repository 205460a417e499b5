#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "selection_window.h"

// Records each request to show the selection window instead of showing one.
class RecordingSelectionWindow : public SelectionWindow {
public:
    struct Request {
        MainWindowFields* mainWindow;
        QString listFile;
    };

    void showOrRaise(MainWindowFields& mainWindow, const QString& listFile) override {
        requests.append({&mainWindow, listFile});
        if (onShow) onShow();
    }

    QList<Request> requests;
    std::function<void()> onShow;
};
