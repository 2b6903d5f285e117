#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include "stores/CallJournal.h"

#include <memory>
#include <string>

/// The real program, copied with its data tree into a temporary folder, started with its own
/// runtime folder so that tests never meet each other's instance lock.
class ProgramRunner {
public:
    ProgramRunner();

    bool isValid() const { return m_dir.isValid(); }
    /// The folder holding the program and its data tree, with a trailing "/".
    QString appDir() const { return m_dir.path() + "/app/"; }
    QString configDir() const { return appDir() + "config/"; }

    /// Starts one instance; more can run at once.
    QProcess* start(const QStringList& arguments);

    /// Waits until the file exists (the program's start-up has come that far).
    static bool waitForFile(const QString& path, int timeoutMs = 10000);

    /// Writes a scenario for the simulated line (a transcript line is put in front) and gives
    /// the --line argument that plays it.
    QString scenario(const QString& commands);
    QString transcriptPath() const { return m_dir.path() + "/transcript.txt"; }
    /// The transcript's lines so far.
    QStringList transcript() const;
    /// Waits until the transcript holds count lines containing the text.
    bool waitForTranscript(const QString& text, int count = 1, int timeoutMs = 15000) const;

    /// Changes the environment of the instances started from now on; an empty value removes
    /// the variable.
    void setEnvironment(const QString& name, const QString& value);

    /// The instances started from now on show their windows on that X display.
    void showOn(const QString& display);

    /// Writes config.dat (and creates the settings folder) before the program starts.
    void writeConfig(const QStringList& keyValues);

    /// The journal as the program left it on disk.
    CallJournal journal() const;

    /// The English text of a language string, as the program shows it.
    static std::string englishText(int number);

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_environment;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
