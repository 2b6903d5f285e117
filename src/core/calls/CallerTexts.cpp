#include "calls/CallerTexts.h"

#include "stores/LanguageIds.h"
#include "stores/LanguageTable.h"

capi::CallerTexts callerTextsFrom(const LanguageTable& language) {
    return {language.text(lang_id::kCallerWithheld),
            language.text(lang_id::kCallerWithheldOtherPlan),
            language.text(lang_id::kCallerNotTransmitted), language.text(lang_id::kUnknown)};
}
