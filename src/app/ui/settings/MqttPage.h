#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
struct SettingsRecord;

/// The settings page of the MQTT output: on or off, the broker and its login, TLS, the topics'
/// prefix and Home Assistant's discovery. OK applies them at once.
class MqttPage : public QWidget {
    Q_OBJECT
public:
    explicit MqttPage(QWidget* parent = nullptr);
    ~MqttPage() override;

    void load(const SettingsRecord& settings);
    /// False when the output is on and the host is empty, the port not from 1 to 65535 or the
    /// prefix not usable in a topic.
    bool hasValidEntries() const;
    void store(SettingsRecord& settings) const;
    void focusHost();

private:
    void createControls();
    void enableFields(bool on);

    QCheckBox* m_mqttCheck = nullptr;
    QLineEdit* m_hostEdit = nullptr;
    QLineEdit* m_portEdit = nullptr;
    QLineEdit* m_userEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QCheckBox* m_tlsCheck = nullptr;
    QLineEdit* m_topicEdit = nullptr;
    QCheckBox* m_discoveryCheck = nullptr;
};
