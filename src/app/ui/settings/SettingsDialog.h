#pragma once

#include "ui/settings/CallSharingGroup.h"
#include "ui/settings/SettingsDialogParts.h"

#include <QDialog>

class BackupPage;
class CallPage;
class InfoPage;
class LinePage;
class MiscPage;
class MqttPage;
class MsnPage;
class PhonebookPage;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class WebExportPage;

/// The settings dialog: a navigation tree and nine pages. Settings go into the controls when
/// it opens and back, all together, with OK; the lists, the web export box, the sound test and
/// the browse buttons act at once. Modeless; it deletes itself when it closes.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(SettingsDialogParts parts, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    /// Shows the page of that name ("line", "call", "pb", "msn", "webexport", "mqtt", "misc",
    /// "backup", "info"); any other name shows none.
    void switchView(const QString& page);
    /// The page shown, by its design name (e.g. "picCfgInfo"); empty when none.
    QString currentPageName() const;

public slots:
    /// OK: checks the call monitor's host and the port, copies every control into the settings,
    /// saves them and applies language, autostart and web export, then closes.
    void accept() override;

private:
    void createPages();
    void createNavigation();
    void applyLook();
    /// Puts the settings and lists into the controls, as when the dialog opens.
    void fill();
    void onNavigationChanged(QTreeWidgetItem* item);
    /// Keeps the dialog open on the page after a mistake, with every change kept and nothing
    /// saved.
    void refuseOk(int languageId, const QString& page);
    void refuseSharing(const CallSharingGroup::Problem& problem);

    SettingsDialogParts m_parts;
    QTreeWidget* m_tvwNav = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* m_noPage = nullptr;
    LinePage* m_linePage = nullptr;
    CallPage* m_callPage = nullptr;
    PhonebookPage* m_phonebookPage = nullptr;
    MsnPage* m_msnPage = nullptr;
    WebExportPage* m_webExportPage = nullptr;
    MiscPage* m_miscPage = nullptr;
    MqttPage* m_mqttPage = nullptr;
    BackupPage* m_backupPage = nullptr;
    InfoPage* m_infoPage = nullptr;
};
