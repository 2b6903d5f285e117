#pragma once

#include "calls/CallViews.h"
#include "ui/Twips.h"

#include <QWidget>

struct AppContext;
class AppCommands;
class AppPaths;
class LanguageTable;
class Phonebook;
class QLabel;
class QPushButton;
class UserPrompt;
struct DesktopPictures;
struct SettingsRecord;

/// What the call pop-up uses: the style, the texts, the folder of the callers' pictures and the
/// phonebook it adds callers to.
struct CallPopupWindowParts {
    const SettingsRecord& settings;
    const LanguageTable& language;
    const AppPaths& paths;
    Phonebook& phonebook;

    static CallPopupWindowParts of(AppContext& context);
};

/// The pop-up that announces an incoming call: when, to which MSN, who (with the origin of the
/// number), the state of the call and the caller's picture, with buttons to add the caller to
/// the phonebook, look the number up, turn the call away and close.
class CallPopupWindow : public QWidget {
    Q_OBJECT
public:
    // Outer widths in twips with and without the caller's picture, and the frame's share.
    static constexpr int kWideWidth = 7845;
    static constexpr int kNarrowWidth = 4935;
    static constexpr int kFrameWidth = 90;
    static constexpr int kClientHeight = 3780;

    CallPopupWindow(const CallPopupWindowParts& parts, const DesktopPictures& pictures,
                    AppCommands& commands, UserPrompt& prompt, QWidget* parent = nullptr);
    ~CallPopupWindow() override;

    /// Fills the fields with a call; does not show the window.
    void fill(const PopupContent& content);
    /// Shows the window and brings it to the front.
    void showAndActivate();
    void setStatus(const QString& status);
    /// Raises the window above the others and activates it.
    void bringToFront();
    const TwipsScale& scale() const { return m_scale; }

signals:
    /// The user closed the window; its owner destroys it.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void addToPhonebook();
    void identify();

private:
    void createControls();
    QLabel* addLabel(QWidget* parent, const char* name, int languageId, int left, int top,
                     int width, int height);
    QPushButton* addButton(const char* name, int languageId, int left, int top);
    void setOuterWidth(int twips);

    CallPopupWindowParts m_parts;
    const DesktopPictures& m_pictures;
    AppCommands& m_commands;
    UserPrompt& m_prompt;
    TwipsScale m_scale;

    QPushButton* m_addToPhonebookButton = nullptr;
    QWidget* m_callPanel = nullptr;
    QLabel* m_msnLabel = nullptr;
    QLabel* m_callerLabel = nullptr;
    QLabel* m_dateLabel = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLabel* m_phoneIcon = nullptr;
    QLabel* m_callerPicture = nullptr;
};
