#include "ui_text.h"

#include "codec.h"

#include <QFileInfo>

#include <string>

namespace telvane {

QString UiText::text(std::string_view key) const {
    return fromGbk(language_.GetText(key));
}

QString UiText::text(std::string_view key, const std::vector<std::string>& args) const {
    return fromGbk(fill_args(language_.GetText(key), args));
}

QString UiText::title() const {
    return text("app_title") + QLatin1Char(' ') + QLatin1String(kVersionText);
}

void UiText::message(std::string_view key) const {
    prompts_.message(text(key));
}

int UiText::question(std::string_view base) const {
    const std::string b(base);
    return prompts_.ask(text(b + "_title"), text(b + "_desc")) == 1 ? 1 : 2;
}

bool UiText::may_write(const QString& file_name) const {
    return !QFileInfo::exists(file_name) || question("if_overwrite") == 1;
}

QStringList UiText::angle_units() const {
    return {text("ANGLE_UNIT_DMS"), text("ANGLE_UNIT_GOM"), text("ANGLE_UNIT_MIL"),
            text("ANGLE_UNIT_NULL")};
}

QStringList UiText::distance_units() const {
    return {text("DIST_UNIT_Meter"), text("DIST_UNIT_US-Ft"), text("DIST_UNIT_INT-Ft"),
            text("DIST_UNIT_NULL")};
}

} // namespace telvane
