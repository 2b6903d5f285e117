#include "ui/CallPopupWindow.h"

#include "calls/AppContext.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "ui/AppCommands.h"
#include "ui/DesktopPictures.h"
#include "ui/LanguageTags.h"
#include "ui/PhonebookAdd.h"
#include "ui/RejectButton.h"
#include "ui/WindowLook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr int kButtonWidth = 1695;
constexpr int kButtonHeight = 375;
constexpr int kIconSize = 495;

} // namespace

CallPopupWindowParts CallPopupWindowParts::of(AppContext& context) {
    return {context.settings, context.language, context.paths, context.phonebook};
}

CallPopupWindow::CallPopupWindow(const CallPopupWindowParts& parts, const DesktopPictures& pictures,
                                 AppCommands& commands, UserPrompt& prompt, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_parts(parts), m_pictures(pictures), m_commands(commands), m_prompt(prompt),
      m_scale(TwipsScale::forScreen()) {
    setObjectName("frmCall");
    setLanguageTag(this, lang_id::kIncomingCallTitle);
    useDesignFont(this);
    createControls();
    applyLanguageTags(this, parts.language);
    fitButtonCaptions(this);
    setWindowIcon(m_pictures.telBlack);
    setWindowBackground(this, parts.settings.style == 0 ? m_pictures.background() : QPixmap());
    setPlainBackground(m_callPanel);
    const int iconSide = m_scale.px(kIconSize);
    m_phoneIcon->setPixmap(m_pictures.telBlack.pixmap(std::min(iconSide, 32)));
    m_callerPicture->setScaledContents(true);
    setOuterWidth(kNarrowWidth);
    centreOnScreen(this);
}

CallPopupWindow::~CallPopupWindow() = default;

QLabel* CallPopupWindow::addLabel(QWidget* parent, const char* name, int languageId, int left,
                                  int top, int width, int height) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // Names and numbers come from outside: never read as markup.
    label->setTextFormat(Qt::PlainText);
    if (languageId != 0) {
        setLanguageTag(label, languageId);
    }
    placeInTwips(label, m_scale, left, top, width, height);
    return label;
}

QPushButton* CallPopupWindow::addButton(const char* name, int languageId, int left, int top) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    setLanguageTag(button, languageId);
    placeInTwips(button, m_scale, left, top, kButtonWidth, kButtonHeight);
    return button;
}

void CallPopupWindow::createControls() {
    m_addToPhonebookButton = addButton("cmdAddPB", lang_id::kAddToPhonebook, 1200, 3120);
    m_addToPhonebookButton->hide();
    QPushButton* lookUpButton = addButton("cmdIdentify", lang_id::kReverseLookup, 1200, 2640);
    QPushButton* rejectButton = addButton("cmdReject", lang_id::kRejectCall, 3000, 2640);
    QPushButton* closeButton = addButton("cmdClose", lang_id::kClose, 3000, 3120);

    m_callPanel = new QWidget(this);
    m_callPanel->setObjectName("PicMenu1");
    placeInTwips(m_callPanel, m_scale, 240, 240, 4455, 2295);
    addLabel(m_callPanel, "lblDate", lang_id::kDate, 240, 240, 1095, 255);
    addLabel(m_callPanel, "lblMSN", lang_id::kMsn, 240, 720, 1095, 255);
    addLabel(m_callPanel, "lblNummer", lang_id::kNumber, 240, 1200, 1125, 255);
    addLabel(m_callPanel, "Label4", lang_id::kCallStatus, 240, 1920, 1095, 255);
    m_msnLabel = addLabel(m_callPanel, "lblCallMSN", 0, 1560, 720, 2055, 255);
    m_callerLabel = addLabel(m_callPanel, "lblCallNumber", 0, 1560, 1200, 2775, 615);
    m_callerLabel->setWordWrap(true);
    m_callerLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dateLabel = addLabel(m_callPanel, "lblCallDate", 0, 1560, 240, 2055, 255);
    m_statusLabel = addLabel(m_callPanel, "lblCannStatus", 0, 1560, 1920, 2055, 255);
    m_phoneIcon = addLabel(m_callPanel, "Image1", 0, 3720, 120, kIconSize, kIconSize);
    m_phoneIcon->setAlignment(Qt::AlignCenter);
    m_callerPicture = addLabel(this, "imgCallerPic", 0, 4920, 240, 2655, 3255);

    connect(m_addToPhonebookButton, &QPushButton::clicked, this, &CallPopupWindow::addToPhonebook);
    connect(lookUpButton, &QPushButton::clicked, this, &CallPopupWindow::identify);
    connect(rejectButton, &QPushButton::clicked, this, [this]() { m_commands.rejectCall(); });
    offerRejectIfPossible(rejectButton, m_commands, m_parts.language);
    connect(closeButton, &QPushButton::clicked, this, &CallPopupWindow::closeRequested);
}

void CallPopupWindow::setOuterWidth(int twips) {
    setFixedSize(m_scale.size(twips - kFrameWidth, kClientHeight));
}

void CallPopupWindow::fill(const PopupContent& content) {
    m_dateLabel->setText(qs(content.dateTime));
    m_msnLabel->setText(qs(content.msn));
    m_callerLabel->setText(qs(content.caller));
    m_addToPhonebookButton->setVisible(content.showAddToPhonebook);
    m_statusLabel->setText(qs(content.status));
    QPixmap picture;
    if (!content.picturePath.empty()) {
        // A picture that does not load leaves the window narrow, without a word.
        picture.load(qs(m_parts.paths.resolve(content.picturePath)));
    }
    m_callerPicture->setPixmap(picture);
    setOuterWidth(picture.isNull() ? kNarrowWidth : kWideWidth);
}

void CallPopupWindow::showAndActivate() {
    show();
    bringToFront();
}

void CallPopupWindow::setStatus(const QString& status) {
    m_statusLabel->setText(status);
}

void CallPopupWindow::bringToFront() {
    raise();
    activateWindow();
}

void CallPopupWindow::addToPhonebook() {
    askAndAddToPhonebook(m_commands.latestCallerId(), m_prompt, m_parts.language,
                         m_parts.phonebook);
}

void CallPopupWindow::identify() {
    m_commands.identify(ss(m_callerLabel->text()));
}

void CallPopupWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closeRequested();
}
