#include "calls/EndReason.h"

#include "stores/LanguageIds.h"

int endReasonTextId(std::uint16_t reason) {
    switch (reason) {
    case kReasonAnsweredElsewhere:
        return lang_id::kEndAnsweredElsewhere;
    case kReasonNormalClearing:
        return lang_id::kEndCallerHungUp;
    case 0x3304: // another application got the call
        return lang_id::kEndOtherApplication;
    case 0x349F: // normal, unspecified
        return lang_id::kEndNormalUnspecified;
    case 0x34E6: // recovery on timer expiry
        return lang_id::kEndTimerExpiry;
    case 0x3400:
        return lang_id::kEndNoCause;
    default:
        return lang_id::kUnknown;
    }
}
