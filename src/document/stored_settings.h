// What the program keeps in its INI file, as one value, with its one reader and writer: the
// settings dialog's choices (section "Setting") and the main window's port, baud rate and
// language (section "Form").
#pragma once

#include "fileio/datastate.h"
#include "texts/ini_file.h"

#include <string>

namespace telvane {

struct StoredSettings {
    // Positions in the settings dialog's lists (0 the first entry).
    int AngleUnit = 0;  // degrees-minutes-seconds, gon, mil
    int LengthUnit = 0; // metre, US survey foot, international foot
    int KOption = 0;    // refraction coefficient 0.00, 0.14, 0.20
    int CoordOrder = 0; // 0 North first (NEZ), 1 East first (ENZ)
    double GridScale = 1.0;
    // The port list's position, a device typed by the user (kept by its name), the baud rate's
    // position and the language's column.
    int Port = 0;
    std::string PortName;
    int Baudrate = 13; // 115200
    int Language = 1;
    // The stake-out check's tolerances in metres: in plan and in height.
    double TolerancePlan = 0.02;
    double ToleranceHeight = 0.01;

    bool operator==(const StoredSettings&) const = default;
};

inline constexpr double kGridScaleMin = 0.9;
inline constexpr double kGridScaleMax = 1.1;

// Missing or out-of-range values read as their defaults (a list position outside its list as
// the first entry, a grid scale factor outside 0.9..1.1 as 1).
StoredSettings read_settings(const IniFile& ini);
// Which values a writer writes: each window writes what it owns, the rest of the file stays as
// it is.
enum SettingsPart : unsigned {
    kUnitSettings = 1,    // the settings dialog's choices
    kPortSettings = 2,    // Port, PortName, Baudrate
    kLanguageSetting = 4, // Language
    kCheckSettings = 8,   // the stake-out check's tolerances
    kAllSettings = 15,
};
// Writes the values of `parts`; PortName only when there is one or the file had one (then
// emptied).
void write_settings(IniFile& ini, const StoredSettings& s, unsigned parts = kAllSettings);

// The values the file commands and the views use.
FileSettings file_settings(const StoredSettings& s);

} // namespace telvane
