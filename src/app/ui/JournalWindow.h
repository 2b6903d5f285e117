#pragma once

#include "calls/CallViews.h"
#include "ui/Twips.h"

#include <QWidget>

#include <functional>
#include <optional>

struct AppContext;
class AppCommands;
class CallJournal;
class ClickableLabel;
class ContactIndex;
class JournalTableModel;
class LanguageTable;
class MsnList;
class OptionsSlide;
class OriginLookup;
class Phonebook;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class UserPrompt;
struct DesktopPictures;
struct JournalTableParts;
struct SettingsRecord;

/// What the journal window works with: its table's parts, the settings it follows, the origin
/// tables of the prefix check, and the phonebook it adds callers to.
struct JournalWindowParts {
    const SettingsRecord& settings;
    const LanguageTable& language;
    CallJournal& journal;
    Phonebook& phonebook;
    const MsnList& msnList;
    const ContactIndex& contacts;
    const OriginLookup& origins;
    /// Reads the journal unless it has been read (the window reads it when first shown).
    std::function<void()> loadJournal;

    static JournalWindowParts of(AppContext& context);
    JournalTableParts tableParts() const;
};

/// The journal window: the table of calls with its context menu, the reject button and the
/// options panel. It lives as long as the program; closing and minimising send it to the
/// notification area, or to the task bar where there is none. It is made when first wanted.
class JournalWindow : public QWidget, public JournalView {
    Q_OBJECT
public:
    /// trayAvailable tells whether the desktop has a notification area to hide the window in.
    JournalWindow(JournalWindowParts parts, const DesktopPictures& pictures, AppCommands& commands,
                  UserPrompt& prompt, std::function<bool()> trayAvailable,
                  QWidget* parent = nullptr);
    ~JournalWindow() override;

    /// Raises the window above the others and activates it.
    void bringToFront();
    void refresh(bool clear) override;
    void showAndActivate() override;
    void minimize() override;

    /// A left click on the notification icon: the window, refreshed, with the load sound.
    void openFromTray();
    /// Shows how many missed calls wait in the title and marks their rows.
    void showMissedCalls();
    /// The notification icon's menu asked for the window: shown, with the load sound.
    void showFromMenu();
    bool isOptionsOpen() const;
    /// True while the options panel is moving.
    bool isSliding() const;
    const TwipsScale& scale() const { return m_scale; }

signals:
    /// The options panel has finished opening or shutting.
    void optionsSlideFinished();
    /// The table has been rebuilt from the journal (which may have been cleared).
    void refreshed();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void toggleOptions();
    void clearList();
    void prefixCheck();
    void identifySelected();
    void addSelectedToPhonebook();
    void deleteSelected();

private:
    void createControls();
    void createCallMenu();
    void applyLook();
    QPushButton* addButton(QWidget* parent, const char* name, int languageId, int left, int top,
                           int width, int height);
    void sizeColumns();
    std::optional<int> selectedRow() const;
    QString selectedText(int role) const;
    bool hasTray() const { return m_trayAvailable && m_trayAvailable(); }

    JournalWindowParts m_parts;
    const DesktopPictures& m_pictures;
    AppCommands& m_commands;
    UserPrompt& m_prompt;
    std::function<bool()> m_trayAvailable;
    TwipsScale m_scale;
    JournalTableModel* m_model = nullptr;
    int m_shownMissedCount = 0; // the missed calls the rows are marked for
    OptionsSlide* m_slide = nullptr;

    QWidget* m_notificationSink = nullptr;
    QWidget* m_menuPanel = nullptr;
    QWidget* m_callsPanel = nullptr;
    QTableView* m_callTable = nullptr;
    ClickableLabel* m_optionsToggle = nullptr;
    QLabel* m_versionLabel = nullptr;
    QMenu* m_callMenu = nullptr;
};
