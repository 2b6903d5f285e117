#pragma once

#include <QGroupBox>

#include <cstdint>
#include <optional>

class QCheckBox;
class QLineEdit;
struct SettingsRecord;

/// The settings that pass calls on to other programs: the call-monitor server (on or off, port,
/// allowed addresses) and the command run on every call.
class CallSharingGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit CallSharingGroup(QWidget* parent = nullptr);
    ~CallSharingGroup() override;

    /// What keeps OK from saving: the language number of the message and the entries it names.
    struct Problem {
        int languageId = 0;
        QString details;
        QLineEdit* field = nullptr;
    };

    void load(const SettingsRecord& settings);
    /// The first entry that cannot be stored, if any.
    std::optional<Problem> problem() const;
    /// Copies the controls into the settings; only after problem() found none.
    void store(SettingsRecord& settings) const;

private:
    std::optional<std::int16_t> enteredPort() const;
    void enableServerFields(bool on);

    QCheckBox* m_monitorServerCheck = nullptr;
    QLineEdit* m_monitorPortEdit = nullptr;
    QLineEdit* m_monitorAllowEdit = nullptr;
    QLineEdit* m_onCallCommandEdit = nullptr;
};
