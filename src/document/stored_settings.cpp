#include "stored_settings.h"

#include <algorithm>

namespace telvane {

namespace {

constexpr const char* kSetting = "Setting";
constexpr const char* kForm = "Form";
constexpr const char* kCheck = "Check";
constexpr double kKOptions[] = {0.0, 0.14, 0.20};

// The list position stored under `key`, or 0 when it is missing or not in 0..last.
int stored_index(const IniFile& ini, const char* key, int last) {
    const long long v = ini.read_int(kSetting, key, 0);
    return (v >= 0 && v <= last) ? static_cast<int>(v) : 0;
}

int clamp_int(long long v, int fallback) {
    return v >= 0 && v <= 1000 ? static_cast<int>(v) : fallback;
}

} // namespace

StoredSettings read_settings(const IniFile& ini) {
    StoredSettings s;
    s.AngleUnit = stored_index(ini, "AngleUnit", 2);
    s.LengthUnit = stored_index(ini, "LengthUnit", 2);
    s.KOption = stored_index(ini, "KOption", 2);
    s.CoordOrder = stored_index(ini, "CoordOrder", 1);
    s.GridScale = ini.read_double(kSetting, "GridScale", 0.0);
    if (!(s.GridScale >= kGridScaleMin && s.GridScale <= kGridScaleMax))
        s.GridScale = 1.0;
    s.Port = static_cast<int>(std::max(-1LL, std::min(ini.read_int(kForm, "Port", 0), 1000LL)));
    s.PortName = ini.read_string(kForm, "PortName", "");
    s.Baudrate = clamp_int(ini.read_int(kForm, "Baudrate", 13), -1);
    s.Language = clamp_int(ini.read_int(kForm, "Language", 1), -1);
    // A tolerance must be a length: anything else is the default.
    const auto tolerance = [&ini](const char* key, double fallback) {
        const double v = ini.read_double(kCheck, key, fallback);
        return v > 0 && v < 1000 ? v : fallback;
    };
    s.TolerancePlan = tolerance("TolerancePlan", s.TolerancePlan);
    s.ToleranceHeight = tolerance("ToleranceHeight", s.ToleranceHeight);
    return s;
}

void write_settings(IniFile& ini, const StoredSettings& s, unsigned parts) {
    if (parts & kUnitSettings) {
        ini.write_int(kSetting, "AngleUnit", s.AngleUnit);
        ini.write_int(kSetting, "LengthUnit", s.LengthUnit);
        ini.write_int(kSetting, "KOption", s.KOption);
        ini.write_double(kSetting, "GridScale", s.GridScale);
        ini.write_int(kSetting, "CoordOrder", s.CoordOrder);
    }
    if (parts & kPortSettings) {
        ini.write_int(kForm, "Port", s.Port);
        if (!s.PortName.empty() || ini.value(kForm, "PortName"))
            ini.write_string(kForm, "PortName", s.PortName);
        ini.write_int(kForm, "Baudrate", s.Baudrate);
    }
    if (parts & kLanguageSetting)
        ini.write_int(kForm, "Language", s.Language);
    if (parts & kCheckSettings) {
        ini.write_double(kCheck, "TolerancePlan", s.TolerancePlan);
        ini.write_double(kCheck, "ToleranceHeight", s.ToleranceHeight);
    }
}

FileSettings file_settings(const StoredSettings& s) {
    FileSettings f;
    // The lists' positions 0..2 are the unit codes 1..3.
    f.units = Units{s.AngleUnit >= 0 && s.AngleUnit <= 2 ? s.AngleUnit + 1 : 0,
                    s.LengthUnit >= 0 && s.LengthUnit <= 2 ? s.LengthUnit + 1 : 0};
    f.order = s.CoordOrder == 1 ? kOrderENZ : kOrderNEZ;
    f.reduction.K = kKOptions[s.KOption >= 0 && s.KOption <= 2 ? s.KOption : 0];
    f.reduction.grid_scale = s.GridScale;
    return f;
}

} // namespace telvane
