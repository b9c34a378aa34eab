// The Qt edge of the Windows-1251 text: widgets show QString, the programs
// keep Windows-1251 bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace cp1251 {

// Windows-1251 bytes to a QString.
QString toQString(std::string_view text);

// A QString to Windows-1251 bytes.  Characters that Windows-1251 cannot hold
// become '?'; `lossy` (when given) tells whether that happened, so the caller
// can show the user what was stored.
std::string fromQString(const QString& text, bool* lossy = nullptr);

}  // namespace cp1251
