// The one place where bytes of the instrument's code page (GBK) become screen text and back.
// Everything below the windows keeps the bytes; only the windows decode them.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace telvane {

QString fromGbk(std::string_view bytes);
std::string toGbk(const QString& text);
// The bytes of `text`, or nothing when one of its characters has no place in the code page
// (toGbk would store it as "?").
std::optional<std::string> toGbkExact(const QString& text);
// The bytes of `text`, each character the code page cannot hold given as a NUL byte (which no
// text of the program holds), so that the place of a refused character is still known.
std::string toGbkMarked(const QString& text);

} // namespace telvane
