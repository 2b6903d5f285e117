#pragma once

#include <QWidget>

#include <cstdint>
#include <optional>

class LanguageTable;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UrlOpener;
class WebExportControl;
struct SettingsRecord;

/// The settings page of the journal web page: on or off (at once), port and password (at OK),
/// the test address.
class WebExportPage : public QWidget {
    Q_OBJECT
public:
    /// saved: the settings as they stand, which the server and the test button use.
    WebExportPage(WebExportControl& server, UrlOpener& urls, const SettingsRecord& saved,
                  const LanguageTable& language, QWidget* parent = nullptr);
    ~WebExportPage() override;

    /// Sets the controls; a change of the check box starts or stops the server as a click
    /// would.
    void load(const SettingsRecord& settings);
    /// The port typed in: a whole number from 1 to 32767 (what the settings can hold).
    std::optional<std::int16_t> enteredPort() const;
    /// Copies the controls into the settings, with the port as checked by enteredPort.
    void store(SettingsRecord& settings, std::int16_t port) const;
    /// Starts the server on the saved port when on, stops it when off; false, with the reason
    /// shown on the page, when it could not listen.
    bool applyToServer(bool on);
    void focusPort();

private:
    void createControls();
    void enableFields(bool on);
    void onExportToggled(bool on);
    void updateTestLink();
    void openTestLink();

    WebExportControl& m_server;
    UrlOpener& m_urls;
    const SettingsRecord& m_saved;
    const LanguageTable& m_language;

    QCheckBox* m_webExportCheck = nullptr;
    QLabel* m_errorLabel = nullptr;
    QLineEdit* m_portEdit = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QLineEdit* m_testLinkEdit = nullptr;
    QPushButton* m_testButton = nullptr;
};
