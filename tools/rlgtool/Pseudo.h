// Pseudo-locale catalogs: every text replaced by a look-alike with accented
// letters, wrapped in markers and lengthened, so that untranslated texts and
// controls too small for a longer translation show without a translator.
#pragma once

#include "colang/XString.h"

namespace rlgtool {

// The pseudo-translation of a text: "&Open...\tCtrl+O" becomes
// "[&Oρéñ...··]\tCtrl+O". Format specifiers, the letter after a mnemonic
// "&" (so that its key still works), white space at the ends and the
// accelerator after a tab stay as they are; middle dots lengthen the text by
// nExpandPercent of its letters, rounded up.
XString PseudoText(XStringView text, int nExpandPercent);

}  // namespace rlgtool
