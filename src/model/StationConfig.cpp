#include "model/StationConfig.h"

auto StationSettings::wepKeyValue(int index) -> char (&)[257] {
    switch (index) {
    case 0:
        return ucWEPKey1Value;
    case 1:
        return ucWEPKey2Value;
    case 2:
        return ucWEPKey3Value;
    default:
        return ucWEPKey4Value;
    }
}

auto StationSettings::wepKeyValue(int index) const -> const char (&)[257] {
    return const_cast<StationSettings*>(this)->wepKeyValue(index);
}

auto StationSelection::uiWepKey(int index) -> char (&)[240] {
    switch (index) {
    case 0:
        return UIWEPKey1;
    case 1:
        return UIWEPKey2;
    case 2:
        return UIWEPKey3;
    default:
        return UIWEPKey4;
    }
}

auto StationSelection::uiWepKey(int index) const -> const char (&)[240] {
    return const_cast<StationSelection*>(this)->uiWepKey(index);
}
