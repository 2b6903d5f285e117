#pragma once

#include "support/TempDir.h"

#include "stores/Settings.h"
#include "stores/cJournal.h"
#include "stores/cLanguage.h"
#include "stores/cMSN.h"
#include "stores/cPhonebook.h"
#include "stores/cVorwahlen.h"
#include "support/AppPaths.h"
#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"

#include <string>
#include <vector>

// Records what the windows asked of the controller.
class RecordingCommands : public AppCommands {
public:
    void rejectCall() override { ++rejects; }
    void identify(const std::string& displayText) override { identified.push_back(displayText); }
    void exitApp() override { ++exits; }
    std::string latestCallerId() const override { return callerId; }
    void playSound(const std::string& name) override { sounds.push_back(name); }

    int rejects = 0;
    int exits = 0;
    std::vector<std::string> identified;
    std::vector<std::string> sounds;
    std::string callerId;
};

// The shipped language files, origin tables and pictures, and empty stores in a fresh folder.
class UiFixture {
public:
    UiFixture() {
        const std::string source = RUFWACHT_SOURCE_DIR;
        AppPath = source + "/data/";
        ConfigDir = dir.path();
        settings() = SettingsRecord{};
        Language().Init(source + "/data/lang/");
        Language().SetLanguage("english");
        Journal().Init(dir.file("calls.txt"));
        Phonebook().Init(dir.file("nn.dat"));
        MSNList().Init(dir.file("msn.dat"));
        Vorwahlen().Init("0049", source + "/data/prefix/");
        pictures = DesktopPictures::load(source + "/data/res/");
    }

    // Appends a completed call to the journal and saves it.
    static void addCall(const std::string& number, const std::string& msn,
                        const std::string& reason = "Caller hung up") {
        cJournal& journal = Journal();
        const int index = journal.add(number, number, msn, "06.12.26", "09:15:00", "Telephony");
        journal.addReason(index, reason);
        journal.saveJournal();
    }

    TempDir dir;
    DesktopPictures pictures;
};
