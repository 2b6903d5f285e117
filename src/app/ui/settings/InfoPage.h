#pragma once

#include <QWidget>

#include <string>

class ClickableLabel;
class QIcon;
class QLabel;
class UrlOpener;

/// The settings page about the program: name, maker, version, logo, the web and mail
/// addresses, and the reverse-lookup service's credits and privacy page.
class InfoPage : public QWidget {
    Q_OBJECT
public:
    /// lookupUrl: the reverse-lookup address, whose host has the privacy page.
    InfoPage(UrlOpener& urls, const QIcon& logo, std::string lookupUrl, QWidget* parent = nullptr);
    ~InfoPage() override;

    static QString webAddress();
    static QString mailAddress();
    /// The privacy page on the host of the lookup address; empty when it names no host.
    static QString privacyAddress(const std::string& lookupUrl);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createControls(const QIcon& logo);
    /// Shows the label as the link under the mouse; nullptr shows none.
    void highlightLink(QLabel* link);

    UrlOpener& m_urls;
    std::string m_lookupUrl;
    ClickableLabel* m_webLink = nullptr;
    ClickableLabel* m_mailLink = nullptr;
    QLabel* m_lookupCreditsLabel = nullptr;
    ClickableLabel* m_lookupPrivacyLink = nullptr;
};
