#include "ui/RejectButton.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"
#include "support/QtText.h"
#include "ui/AppCommands.h"

#include <QPushButton>

void offerRejectIfPossible(QPushButton* button, const AppCommands& commands,
                           const LanguageTable& language) {
    if (commands.canRejectCalls()) {
        return;
    }
    button->setEnabled(false);
    button->setToolTip(qs(language.text(lang_id::kRejectNotPossible)));
}
