// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test doubles of the core's seams: they record what the program did and
// answer from a script, so the actions and windows run without a person, a
// process or a clock.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actions/list_and_choose.h"
#include "launch/launcher.h"
#include "list_file/list_file_access.h"
#include "selection_window/extract_selected.h"

namespace zelvorn {

// The main window's fields in memory; counts the destination's rewrites.
struct FakeMainWindowFields : MainWindowFields {
    explicit FakeMainWindowFields(std::u16string destination = {}, std::u16string source = {},
                                  OptionBoxes boxes = {})
        : destination(std::move(destination)), source(std::move(source)), boxes(boxes) {}
    std::u16string destinationPath() const override { return destination; }
    void setDestinationPath(const std::u16string& path) override {
        destination = path;
        ++rewrites;
    }
    std::u16string sourcePath() const override { return source; }
    OptionBoxes optionBoxes() const override { return boxes; }

    std::u16string destination;
    std::u16string source;
    OptionBoxes boxes;
    int rewrites = 0;
};

// Records every launch instead of starting anything; a watched launch hands
// back a process that ends when the test sets `extractorEnd`.
struct RecordingLauncher : Launcher {
    struct Launch {
        std::u16string commandLine;
        WindowStyle style;
        friend bool operator==(const Launch&, const Launch&) = default;
    };
    LaunchResult launch(std::u16string_view commandLine, WindowStyle style) override {
        launches.push_back({std::u16string(commandLine), style});
        if (onLaunch) onLaunch();
        return {status, {}, nullptr};
    }
    LaunchResult launchWatched(std::u16string_view commandLine, WindowStyle style) override {
        LaunchResult started = launch(commandLine, style);
        if (started.started()) started.process = std::make_unique<Watched>(extractorEnd);
        return started;
    }
    std::vector<Launch> launches;
    LaunchResult::Status status = LaunchResult::Status::Started;  // what every launch answers
    std::function<void()> onLaunch;
    std::optional<ProcessEnd> extractorEnd;  // nothing: still running

private:
    struct Watched : RunningProcess {
        explicit Watched(const std::optional<ProcessEnd>& end) : end(end) {}
        std::optional<ProcessEnd> ended() override { return end; }
        const std::optional<ProcessEnd>& end;
    };
};

// Beats when the test calls `beat`.
struct ManualPulse : Pulse {
    void start(std::function<void()> beat) override {
        this->beat = std::move(beat);
        running = true;
    }
    void stop() override { running = false; }
    std::function<void()> beat;
    bool running = false;
};

// Answers the dialogs from a script and remembers what was shown. An
// unscripted file dialog is cancelled and an unscripted question answered No.
struct ScriptedDialogs : Dialogs {
    void showError(const std::u16string& title, const std::u16string&) override {
        errors.push_back(title);
    }
    std::optional<std::u16string> chooseFileToOpen(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        return next();
    }
    std::optional<std::u16string> chooseFolder(const std::u16string&) override { return next(); }
    std::optional<std::u16string> chooseFileToSave(
        const std::u16string& startName, const std::vector<FileFilter>& filters) override {
        saveStartNames.push_back(startName);
        saveFilters = filters;
        return next();
    }
    bool askYesNo(const std::u16string&, const std::u16string&) override { return yes; }

    std::vector<std::optional<std::u16string>> answers;  // file and folder dialogs, in order
    bool yes = false;
    std::vector<std::u16string> errors;  // titles of the messages shown
    std::vector<OpenFileRequest> openRequests;
    std::vector<std::u16string> saveStartNames;
    std::vector<FileFilter> saveFilters;

    std::optional<std::u16string> next() {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

// Records the order of the steps of "Extract files", and what the window was
// asked to wait for.
struct RecordingSteps : Wait, SelectionWindowOpener {
    void wait(int milliseconds) override {
        steps.push_back("wait " + std::to_string(milliseconds));
    }
    void showOrRaise(MainWindowFields&, ListRequest request) override {
        steps.push_back(request.extractor ? "open, watching pdixtract" : "open");
        stamps.push_back(request.before);
    }
    std::vector<std::string> steps;
    std::vector<ListFileStamp> stamps;
};

// The list as the window holds it, two entries selected; the hidden field
// marks what went through it.
struct FakeSelectionList : SelectionList {
    std::vector<std::u16string> selectedEntries() const override {
        return {u"VIDEO_TS.IFO 12288", u"VTS_01_1.VOB 2048"};
    }
    void setNamesText(const std::u16string& text) override { namesFieldText = text + u"*"; }
    std::u16string namesText() const override { return namesFieldText; }
    std::u16string namesFieldText;
};

}  // namespace zelvorn
