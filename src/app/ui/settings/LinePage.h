#pragma once

#include <QWidget>

#include <string>

class CallSharingGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
struct SettingsRecord;

/// The settings page of the line: the system's CAPI library or a router's call monitor at
/// HOST[:PORT]. The line is built at start-up, so a new choice takes effect at the next start.
class LinePage : public QWidget {
    Q_OBJECT
public:
    /// lineFromCommandLine: the --line this run uses instead of the setting; empty when none.
    explicit LinePage(const std::string& lineFromCommandLine, QWidget* parent = nullptr);
    ~LinePage() override;

    void load(const SettingsRecord& settings);
    /// False when the call monitor is chosen and its host is empty or its port not 1 to 65535.
    bool hasValidHost() const;
    /// Copies the choice into the settings. With the CAPI chosen, a setting of its kind
    /// (capi:LIBRARY, sim:FILE) stays as it is.
    void store(SettingsRecord& settings) const;
    void focusHost();
    /// The call-monitor server and the command on every call, which stand on this page.
    CallSharingGroup& sharing() { return *m_sharing; }

private:
    void createControls(const std::string& lineFromCommandLine);
    void enableHost(bool on);

    QRadioButton* m_capiOption = nullptr;
    QLineEdit* m_capiEdit = nullptr;
    QRadioButton* m_callMonitorOption = nullptr;
    QLabel* m_hostLabel = nullptr;
    QLineEdit* m_hostEdit = nullptr;
    CallSharingGroup* m_sharing = nullptr;
};
