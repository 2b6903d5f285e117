#pragma once

#include "support/TestContext.h"

#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"
#include "ui/LanguageTags.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

// What the language-tagged controls below a window show: how many there are, and the name of
// the first whose caption is not its language text (empty when all are right).
struct CaptionCheck {
    int captioned = 0;
    QString wrong;
};

inline CaptionCheck checkCaptions(const QObject& root, const LanguageTable& language) {
    CaptionCheck check;
    for (const QObject* object : root.findChildren<QObject*>()) {
        const int id = languageTag(object);
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(object)) {
            caption = button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(object)) {
            caption = label->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(object)) {
            caption = group->title();
        } else if (const auto* action = qobject_cast<const QAction*>(object)) {
            caption = action->text();
        }
        if (id == 0) {
            continue;
        }
        ++check.captioned;
        if (caption.toStdString() != language.text(id) && check.wrong.isEmpty()) {
            check.wrong = object->objectName();
        }
    }
    return check;
}

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
