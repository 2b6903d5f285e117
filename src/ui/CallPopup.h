#pragma once

#include "calls/CallViews.h"

#include <QObject>
#include <QPointer>

#include <functional>

class AppCommands;
class UserPrompt;
class frmCall;
struct DesktopPictures;

/// The pop-up as the call handlers see it: created on first use, kept between calls while
/// open, destroyed when the user closes it or a call end closes it.
class CallPopup : public QObject, public PopupView {
    Q_OBJECT
public:
    /// pictures is called when the window is first created.
    CallPopup(std::function<const DesktopPictures&()> pictures, AppCommands& commands,
              UserPrompt& prompt, QObject* parent = nullptr);
    ~CallPopup() override;

    void showCall(const PopupContent& content) override;
    void setStatus(const std::string& status) override;
    void close() override;

    /// The window while it exists; null otherwise.
    frmCall* window() const;

private:
    frmCall& ensureWindow();

    std::function<const DesktopPictures&()> m_pictures;
    AppCommands& m_commands;
    UserPrompt& m_prompt;
    QPointer<frmCall> m_window;
};
