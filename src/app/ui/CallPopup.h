#pragma once

#include "calls/CallViews.h"

#include <QObject>
#include <QPointer>

#include <functional>

struct AppContext;
class AppCommands;
class UserPrompt;
class CallPopupWindow;
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

    /// The program's context, which the window needs; nothing is shown before it is set.
    void setContext(AppContext* context) { m_context = context; }

    /// The window while it exists; null otherwise.
    CallPopupWindow* window() const;

private:
    CallPopupWindow* ensureWindow();

    std::function<const DesktopPictures&()> m_pictures;
    AppContext* m_context = nullptr;
    AppCommands& m_commands;
    UserPrompt& m_prompt;
    QPointer<CallPopupWindow> m_window;
};
