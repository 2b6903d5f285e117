#pragma once

#include "support/ScriptedPrompt.h"
#include "ui/UiTestSupport.h"

#include "calls/SoundPolicy.h"
#include "net/WebExportControl.h"
#include "platform/Autostart.h"
#include "support/WavePlayer.h"
#include "ui/FilePicker.h"
#include "ui/settings/SettingsDialog.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RecordingPlayer : public WavePlayer {
public:
    void play(const std::string& path) override { played.push_back(path); }
    std::vector<std::string> played;
};

class RecordingUrls : public UrlOpener {
public:
    bool openUrl(const std::string& address) override {
        opened.push_back(address);
        return true;
    }
    std::vector<std::string> opened;
};

// A server that listens when told, or fails with the reason given.
class FakeWebExport : public WebExportControl {
public:
    bool start(std::uint16_t port) override {
        starts.push_back(port);
        running = failure.empty();
        return running;
    }
    void stop() override {
        ++stops;
        running = false;
    }
    bool isRunning() const override { return running; }
    std::string lastError() const override { return running ? std::string() : failure; }

    std::vector<int> starts;
    int stops = 0;
    bool running = false;
    std::string failure;
};

class FakeAutostart : public Autostart {
public:
    bool exists() const override { return made; }
    std::optional<Failure> create(const std::string&, const std::string&) override {
        made = true;
        return std::nullopt;
    }
    void remove() override { made = false; }
    bool made = false;
};

// Answers file dialogs from a script (none left means Cancel) and records where they started.
class ScriptedFiles : public FilePicker {
public:
    std::optional<std::string> openFile(QWidget*, const std::string& filter,
                                        const std::string& start) override {
        return answer(filter, start);
    }
    std::optional<std::string> saveFile(QWidget*, const std::string& filter,
                                        const std::string& start) override {
        return answer(filter, start);
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<std::pair<std::string, std::string>> asked; // filter, start path

private:
    std::optional<std::string> answer(const std::string& filter, const std::string& start) {
        asked.emplace_back(filter, start);
        if (answers.empty()) {
            return std::nullopt;
        }
        auto next = answers.front();
        answers.pop_front();
        return next;
    }
};

// A settings dialog over a fresh settings folder with the shipped data, and fakes for all it
// reaches outside.
class SettingsBench {
public:
    SettingsBench() : sound(player, fixture.context.settings, fixture.context.paths) {
        fixture.context.loadSettings();
    }

    SettingsDialog& open() {
        dialog = std::make_unique<SettingsDialog>(
            SettingsDialogParts{fixture.context, prompt, sound, urls, webExport, autostart, files,
                                fixture.pictures, "/opt/rufwacht/rufwacht", lineFromCommandLine,
                                std::string(), [this]() { ++mqttApplied; }});
        return *dialog;
    }
    template <typename Control> Control* find(const char* name) const {
        return dialog->findChild<Control*>(name);
    }
    SettingsRecord& settings() { return fixture.context.settings; }
    std::string text(int id) const { return fixture.text(id); }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& shown : prompt.shown) {
            texts.push_back(shown.text);
        }
        return texts;
    }
    std::string configFile() const { return fixture.dir.read("config.dat"); }

    UiFixture fixture;
    ScriptedPrompt prompt;
    RecordingPlayer player;
    SoundPolicy sound;
    RecordingUrls urls;
    FakeWebExport webExport;
    FakeAutostart autostart;
    ScriptedFiles files;
    std::string lineFromCommandLine;
    int mqttApplied = 0;
    std::unique_ptr<SettingsDialog> dialog;
};
