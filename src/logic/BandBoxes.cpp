#include "logic/BandBoxes.h"

namespace logic {

bool isOffered(const OfferedModes& offered, BandBox box) {
    switch (box) {
    case BandBox::Mode11B:
        return offered.mode11b;
    case BandBox::Mode11G:
        return offered.mode11g;
    case BandBox::Mode11GT:
        return offered.mode11gt;
    case BandBox::ExtendedRange:
        return offered.modeXR;
    case BandBox::Mode11A:
        return offered.mode11a;
    case BandBox::Mode11AT:
        break;
    }
    return offered.mode11at;
}

void applyBandBoxRule(BandBoxChecks& checks, BandBox clicked, bool infrastructure) {
    bool& b = checkOf(checks, BandBox::Mode11B);
    bool& g = checkOf(checks, BandBox::Mode11G);
    bool& gt = checkOf(checks, BandBox::Mode11GT);
    bool& a = checkOf(checks, BandBox::Mode11A);
    bool& at = checkOf(checks, BandBox::Mode11AT);
    const bool noneLeft = !b && !g && !a;
    switch (clicked) {
    case BandBox::Mode11GT:
        gt = gt && g;
        break;
    case BandBox::Mode11G:
        if (noneLeft) {
            g = true;
        }
        gt = g;
        break;
    case BandBox::Mode11B:
        if (infrastructure && noneLeft) {
            b = true;
        }
        break;
    case BandBox::Mode11AT:
        at = at && a;
        break;
    case BandBox::Mode11A:
        if (infrastructure && noneLeft) {
            a = true;
        }
        // 11AT without 11A means nothing, whatever the network type.
        at = at && a;
        break;
    case BandBox::ExtendedRange:
        break;
    }
}

} // namespace logic
