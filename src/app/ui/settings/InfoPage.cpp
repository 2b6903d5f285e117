#include "ui/settings/InfoPage.h"

#include "calls/CallViews.h"
#include "net/ProductInfo.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/Version.h"
#include "ui/ClickableLabel.h"
#include "ui/settings/PageLayout.h"

#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {

constexpr const char* kCompany = "Rufwacht developers";
constexpr const char* kContactAddress = "info@rufwacht.example.org";

QString versionNumber() {
    return QStringLiteral("%1.%2.%3")
        .arg(kAppVersionMajor)
        .arg(kAppVersionMinor)
        .arg(kAppVersionPatch);
}

void showAsLink(QLabel* label, bool highlighted) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     highlighted ? QColor(0, 0, 255) : palette.color(QPalette::ButtonText));
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(highlighted);
    label->setFont(font);
}

} // namespace

InfoPage::InfoPage(UrlOpener& urls, const QIcon& logo, std::string lookupUrl, QWidget* parent)
    : QWidget(parent), m_urls(urls), m_lookupUrl(std::move(lookupUrl)) {
    setObjectName("picCfgInfo");
    setMouseTracking(true);
    createControls(logo);
}

InfoPage::~InfoPage() = default;

QString InfoPage::webAddress() {
    return kProductWebAddress;
}

QString InfoPage::mailAddress() {
    QUrl mail(QStringLiteral("mailto:") + kContactAddress);
    QUrlQuery query;
    query.addQueryItem("Subject", QStringLiteral("Rufwacht & Version ") + versionNumber());
    mail.setQuery(query);
    return mail.toString(QUrl::FullyEncoded);
}

QString InfoPage::privacyAddress(const std::string& lookupUrl) {
    const QUrl lookup(qs(lookupUrl));
    if (!lookup.isValid() || lookup.host().isEmpty()) {
        return {};
    }
    QUrl privacy;
    privacy.setScheme(lookup.scheme());
    privacy.setHost(lookup.host());
    privacy.setPort(lookup.port());
    privacy.setPath("/oetb_1.htm");
    privacy.setQuery("main=Datenschutz");
    return privacy.toString();
}

void InfoPage::createControls(const QIcon& logo) {
    auto* logoLabel = named(new QLabel(this), "imgLogo");
    logoLabel->setPixmap(logo.pixmap(48, 48));
    auto* productNameLabel = named(new QLabel(kAppName, this), "lblProductName");
    QFont productFont = productNameLabel->font();
    productFont.setBold(true);
    productFont.setPointSizeF(productFont.pointSizeF() * 1.5);
    productNameLabel->setFont(productFont);
    auto* companyLabel = named(new QLabel(kCompany, this), "lblCompany");
    auto* versionLabel = named(new QLabel("Version " + versionNumber(), this), "lblVersion");

    m_webLink = named(new ClickableLabel(this), "lblWWW");
    m_webLink->setText(QStringLiteral("URL:     ") + kProductWebAddress);
    m_mailLink = named(new ClickableLabel(this), "lbleMail");
    m_mailLink->setText(QStringLiteral("eMail:  ") + kContactAddress);
    m_lookupCreditsLabel = named(new QLabel(this), "lblIdentOert1", lang_id::kLookupCredits);
    m_lookupPrivacyLink = named(new ClickableLabel(this), "lblIdentOert2", lang_id::kLookupPrivacy);

    auto* header = new QGridLayout;
    header->addWidget(logoLabel, 0, 0, 3, 1, Qt::AlignTop);
    header->addWidget(productNameLabel, 0, 1);
    header->addWidget(companyLabel, 1, 1);
    header->addWidget(versionLabel, 2, 1);
    header->setColumnStretch(1, 1);
    header->setHorizontalSpacing(12);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(header);
    layout->addSpacing(16);
    for (QLabel* label : std::initializer_list<QLabel*>{m_webLink, m_mailLink, m_lookupCreditsLabel,
                                                        m_lookupPrivacyLink}) {
        label->setTextFormat(Qt::PlainText);
        label->installEventFilter(this);
        layout->addWidget(label);
    }
    layout->addStretch();
    for (ClickableLabel* link : {m_webLink, m_mailLink, m_lookupPrivacyLink}) {
        link->setCursor(Qt::PointingHandCursor);
    }

    connect(m_webLink, &ClickableLabel::clicked, this,
            [this]() { m_urls.openUrl(ss(webAddress())); });
    connect(m_mailLink, &ClickableLabel::clicked, this,
            [this]() { m_urls.openUrl(ss(mailAddress())); });
    connect(m_lookupPrivacyLink, &ClickableLabel::clicked, this, [this]() {
        if (const QString address = privacyAddress(m_lookupUrl); !address.isEmpty()) {
            m_urls.openUrl(ss(address));
        }
    });
}

void InfoPage::highlightLink(QLabel* link) {
    for (QLabel* label :
         std::initializer_list<QLabel*>{m_webLink, m_mailLink, m_lookupPrivacyLink}) {
        showAsLink(label, label == link);
    }
}

bool InfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) {
        highlightLink(watched == m_lookupCreditsLabel ? nullptr : qobject_cast<QLabel*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void InfoPage::mouseMoveEvent(QMouseEvent* event) {
    highlightLink(nullptr);
    QWidget::mouseMoveEvent(event);
}
