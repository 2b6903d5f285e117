#pragma once

#include "support/TestContext.h"

#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"
#include "ui/LanguageTags.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

// The name of the first language-tagged object, the window itself or a control below it, whose
// caption is not its language text; empty when all are right.
inline QString wrongCaption(const QWidget& window, const LanguageTable& language) {
    QList<const QObject*> objects = {&window};
    for (const QObject* child : window.findChildren<QObject*>()) {
        objects << child;
    }
    for (const QObject* object : objects) {
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(object)) {
            caption = button->text();
        } else if (const auto* label = qobject_cast<const QLabel*>(object)) {
            caption = label->text();
        } else if (const auto* group = qobject_cast<const QGroupBox*>(object)) {
            caption = group->title();
        } else if (const auto* action = qobject_cast<const QAction*>(object)) {
            caption = action->text();
        } else if (const auto* menu = qobject_cast<const QMenu*>(object)) {
            caption = menu->title();
        } else if (const auto* widget = qobject_cast<const QWidget*>(object)) {
            caption = widget->windowTitle();
        }
        if (const int id = languageTag(object);
            id != 0 && caption.toStdString() != language.text(id)) {
            return object->objectName();
        }
    }
    return {};
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

    void addCall(const std::string& number, const std::string& msn,
                 const std::string& reason = "Caller hung up") {
        CallJournal& journal = context.journal;
        const int index = journal.add(number, number, msn, "06.12.26", "09:15:00", "Telephony");
        journal.setEndReason(index, reason);
        journal.save();
    }

    DesktopPictures pictures;
};
