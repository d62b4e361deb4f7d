// The one place where bytes of the instrument's code page (GBK) become screen text and back.
// Everything below the windows keeps the bytes; only the windows decode them.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace telvane {

QString fromGbk(std::string_view bytes);
std::string toGbk(const QString& text);

} // namespace telvane
