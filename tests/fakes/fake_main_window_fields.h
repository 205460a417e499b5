#pragma once

#include <QString>

#include "main_window_fields.h"

// The main window's fields held in memory; counts the destination's rewrites.
class FakeMainWindowFields : public MainWindowFields {
public:
    QString destinationPath() const override { return destination; }
    void setDestinationPath(const QString& path) override {
        destination = path;
        ++rewrites;
    }
    QString sourcePath() const override { return source; }
    OptionFlags optionFlags() const override { return flags; }

    QString destination;
    QString source;
    OptionFlags flags;
    int rewrites = 0;
};
