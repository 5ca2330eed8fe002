// The texts of the information panel, in both forms; built natively too, so
// that the layout's tests measure the texts the window draws.
#pragma once

#include "common/shown_text.h"
#include "shell/panel_layout.h"

extern const ShownText kFeatureTexts[kFeatureLineCount];
extern const ShownText kContactTexts[kContactLineCount];
extern const ShownText kSystemsText;
extern const ShownText kSloganText;
extern const ShownText kTitleText;
