#pragma once

#include "support/TestContext.h"

#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"

#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

// Waits until what was posted so far, zero timers included, has run: whatever a window does
// "right after" a change is done by then.
inline bool settled() {
    const auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, [done]() { *done = true; });
    return QTest::qWaitFor([done]() { return *done; }, 5000);
}

// Records what the windows asked of the controller.
class RecordingCommands : public AppCommands {
public:
    void rejectCall() override { ++rejects; }
    bool canRejectCalls() const override { return canReject; }
    void identify(const std::string& displayText) override { identified.push_back(displayText); }
    void exitApp() override { ++exits; }
    std::string latestCallerId() const override { return callerId; }
    void playSound(const std::string& name) override { sounds.push_back(name); }
    void openSettings(bool infoPage) override { settingsOpened.push_back(infoPage); }
    void checkForUpdate() override { ++updateChecks; }
    void exitForUpdate() override { ++updateExits; }

    int rejects = 0;
    bool canReject = true;
    int updateChecks = 0;
    int updateExits = 0;
    std::vector<bool> settingsOpened;
    int exits = 0;
    std::vector<std::string> identified;
    std::vector<std::string> sounds;
    std::string callerId;
};

// The shipped language files, origin tables and pictures, and empty stores in a fresh folder.
class UiFixture : public TestContext {
public:
    UiFixture() : pictures(DesktopPictures::load(dataDir() + "res/")) {}

    // Appends a completed call to the journal and saves it.
    void addCall(const std::string& number, const std::string& msn,
                 const std::string& reason = "Caller hung up") {
        CallJournal& journal = context.journal;
        const int index = journal.add(number, number, msn, "06.12.26", "09:15:00", "Telephony");
        journal.setEndReason(index, reason);
        journal.save();
    }

    DesktopPictures pictures;
};
