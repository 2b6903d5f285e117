#include "ui/QtUserPrompt.h"

#include "support/QtText.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QString dialogText(const std::string& text) {
    return qs(text).replace("\r\n", "\n");
}

QString dialogTitle(const std::string& title) {
    return title.empty() ? QString("Rufwacht") : qs(title);
}

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

void QtUserPrompt::message(const std::string& text, const std::string& title, PromptIcon icon) {
    QMessageBox box(boxIcon(icon), dialogTitle(title), dialogText(text), QMessageBox::Ok);
    // Texts carry file names and callers' names: never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtUserPrompt::question(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, dialogTitle(title), dialogText(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtUserPrompt::input(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
    bool ok = false;
    const QString answer = QInputDialog::getText(nullptr, dialogTitle(title), dialogText(prompt),
                                                 QLineEdit::Normal, qs(defaultText), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return ss(answer);
}
