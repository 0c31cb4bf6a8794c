#pragma once

#include <array>

// The six wireless-mode boxes that the Configuration page and the profile editor share, which
// of them an installation offers, and the rules that keep their combination usable.
namespace logic {

// In the order the screens show them.
enum class BandBox { Mode11B, Mode11G, Mode11GT, ExtendedRange, Mode11A, Mode11AT };
inline constexpr int bandBoxCount = 6;

// Section Check of the settings file: a box exists only when its key is 1; "11b" and "11a"
// also offer the ad hoc bands of the same names.
struct OfferedModes {
    bool mode11b = false;
    bool mode11g = false;
    bool mode11gt = false;
    bool mode11a = false;
    bool mode11at = false;
    bool modeXR = false;
    bool operator==(const OfferedModes&) const = default;
};
bool isOffered(const OfferedModes& offered, BandBox box);

// Checked states by BandBox.
using BandBoxChecks = std::array<bool, bandBoxCount>;
inline bool& checkOf(BandBoxChecks& checks, BandBox box) {
    return checks[static_cast<int>(box)];
}
inline bool checkOf(const BandBoxChecks& checks, BandBox box) {
    return checks[static_cast<int>(box)];
}

// The rule after a click on `clicked` has toggled it. Unchecking the last of 11B, 11G and 11A
// checks it again (11G always; 11B and 11A in infrastructure, where they choose the bands);
// a turbo mode never stays on without its base mode, and 11GT follows 11G. Extended Range
// has no rule.
void applyBandBoxRule(BandBoxChecks& checks, BandBox clicked, bool infrastructure);

} // namespace logic
