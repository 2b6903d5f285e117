#pragma once

#include "line/CapiMessages.h"

class LanguageTable;

/// The texts of the language tables that stand in for a caller without a usable number.
capi::CallerTexts callerTextsFrom(const LanguageTable& language);
