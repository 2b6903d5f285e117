#pragma once

#include <QProcess>
#include <QStringList>

#include <memory>

/// Debian's mosquitto broker on a free loopback port with its own config file in a folder of
/// the test's, and mosquitto_sub reading from it.
class MosquittoBroker {
public:
    /// extraConfig: more lines for the config file; with any, only known users may connect
    /// (e.g. "password_file PATH").
    explicit MosquittoBroker(QString folder, const QStringList& extraConfig = {});
    ~MosquittoBroker();

    /// False when the broker or its clients are not installed.
    static bool isInstalled();

    /// Starts the broker and waits until it accepts connections.
    bool start();
    /// Ends it with SIGTERM and waits.
    void stop();
    quint16 port() const { return m_port; }
    QString log() const;

    /// Starts mosquitto_sub with a lasting session (QoS 1), so messages published while it
    /// reconnects wait for it; gives its lines ("topic payload").
    void subscribe(const QStringList& topics);
    QStringList received();
    /// Waits until a received line starts with the text.
    bool waitForLine(const QString& start, int timeoutMs = 15000);

private:
    QString m_folder;
    quint16 m_port = 0;
    std::unique_ptr<QProcess> m_broker;
    std::unique_ptr<QProcess> m_subscriber;
    QStringList m_received;
    QByteArray m_partial;
};
