#pragma once

// The program's name as the windows and the desktop show it.
inline constexpr char ProgramName[] = "Brightway Vaultbase";

// The program's version, shown by the information window, written into the
// installation record and sent to the maker's update page.
namespace Version {

inline constexpr char Number[] = "1.0.0";
inline constexpr char ReleaseDate[] = "2026-12-07";
// "Version", a blank, the number and the release date in parentheses.
inline constexpr char Text[] = "Version 1.0.0 (2026-12-07)";

} // namespace Version
