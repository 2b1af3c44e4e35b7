#pragma once
// Physical and unit constants as this program uses them. Formulas, settings
// and the named conversion constant take them from here. The values are the
// program's own where they differ from the textbook (absolute zero 273.1, the
// two gas constants): results and stored files depend on them.

#include <numbers>

namespace konst {

// Absolute temperature is °C + ABSOLUT_NULL (273.1, not 273.15).
inline constexpr double ABSOLUT_NULL = 273.1;
// Ws (J) in one kWh: the value of the conversion key "kWh_in_Ws".
inline constexpr double KWH_IN_WS = 3600000.0;
// Seconds in one hour.
inline constexpr double SEKUNDEN_PRO_STUNDE = 3600.0;
// Acceleration of gravity (m/s²).
inline constexpr double ERDBESCHLEUNIGUNG = 9.81;
// Gas constant (J/(kmol K)) of the molar heat capacity cv = cp · M − R.
inline constexpr double GASKONSTANTE = 8314.3;
// Gas constant (J/(kmol K)) of the vapour density and the refrigerant state.
inline constexpr double GASKONSTANTE_DAMPF = 8341.1625;

inline constexpr double PI = std::numbers::pi;
// One degree in radians: an angle in degrees times RAD_JE_GRAD is in radians.
inline constexpr double RAD_JE_GRAD = PI / 180.0;
// Degrees to radians computed as x · π / 180. It rounds differently from
// x · RAD_JE_GRAD in the last bit; each formula keeps the form it was written
// with, so that results stay the same.
constexpr double grad_in_rad(double x) { return x * PI / 180.0; }

}  // namespace konst
