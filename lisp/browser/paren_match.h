// Parenthesis matching for the Lisp text editor: which parenthesis pairs
// with the one at a position, leaving out those inside strings, comments
// and character literals (#\( ).
#pragma once

#include <QString>

namespace velloq_browser {

// The position of the parenthesis that pairs with the one at `pos`, or -1
// when `pos` holds no counted parenthesis or it has no partner.
int matchingParen(const QString& text, int pos);

}  // namespace velloq_browser
