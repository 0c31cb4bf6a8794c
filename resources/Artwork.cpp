#include "resources/Artwork.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

namespace artwork {
namespace {

struct NamedBitmap {
    int resourceId;
    const char* name;
};

constexpr NamedBitmap kButtons[] = {
    {152, "Rescan"},     {154, "Apply"},   {155, "Cancel"}, {156, "Add"},  {157, "Connect"},
    {158, "Properties"}, {159, "Refresh"}, {160, "Remove"}, {161, "Down"}, {162, "Up"},
};

template <typename Range> bool contains(const Range& range, int value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

} // namespace

QString trayIconPath(int resourceId, int size) {
    if (!contains(kTrayIconIds, resourceId) || !contains(kTrayIconSizes, size)) {
        return {};
    }
    return QStringLiteral(":/icons/tray_%1_%2.png").arg(resourceId).arg(size);
}

QString buttonBitmapPath(const char* name) {
    for (const NamedBitmap& button : kButtons) {
        if (name != nullptr && std::strcmp(button.name, name) == 0) {
            return QStringLiteral(":/buttons/%1.bmp").arg(QLatin1String(button.name));
        }
    }
    return {};
}

QString blankButtonPath(const char* name) {
    const QString labelled = buttonBitmapPath(name);
    return labelled.isEmpty() ? QString() : QStringLiteral(":/buttons/blank/%1.bmp").arg(QLatin1String(name));
}

QString buttonBitmapPath(int resourceId) {
    if (resourceId == kLayoutEditorBitmap) {
        return QStringLiteral(":/skin/Configuration_normal.bmp");
    }
    for (const NamedBitmap& button : kButtons) {
        if (button.resourceId == resourceId) {
            return buttonBitmapPath(button.name);
        }
    }
    return {};
}

QString listIconPath(int resourceId) {
    if (!contains(kListIconIds, resourceId)) {
        return {};
    }
    return QStringLiteral(":/icons/list_%1.png").arg(resourceId);
}

QString checkBoxIconPath(bool checked) {
    return QStringLiteral(":/icons/check_%1.png").arg(checked ? kCheckBoxChecked : kCheckBoxUnchecked);
}

QString builtinSkinPath(const char* key) {
    if (key == nullptr) {
        return {};
    }
    const QString name = QString::fromLatin1(key);
    if (name == QLatin1String("Main")) {
        return QStringLiteral(":/skin/Main.bmp");
    }
    if (name == QLatin1String("X1")) {
        return QStringLiteral(":/skin/Close.bmp");
    }
    static const std::pair<const char*, const char*> pages[] = {
        {"Link_Info", "LinkInfo"},    {"Config", "Configuration"}, {"Advanced", "Encryption"},
        {"Sitesurvey", "SiteSurvey"}, {"About", "About"},
    };
    static const char* states[] = {"hover", "normal", "selected"};
    for (const auto& [prefix, file] : pages) {
        for (int state = 0; state < 3; ++state) {
            if (name == QLatin1String(prefix) + QString::number(state + 1)) {
                return QStringLiteral(":/skin/%1_%2.bmp")
                    .arg(QLatin1String(file), QLatin1String(states[state]));
            }
        }
    }
    return {};
}

QStringList allResourcePaths() {
    QStringList paths;
    for (int id : kTrayIconIds) {
        for (int size : kTrayIconSizes) {
            paths << trayIconPath(id, size);
        }
    }
    for (int id : kListIconIds) {
        paths << listIconPath(id);
    }
    paths << checkBoxIconPath(true) << checkBoxIconPath(false) << buttonBitmapPath(kLayoutEditorBitmap);
    for (const char* key : {"Main", "X1", "Link_Info1", "Link_Info2", "Link_Info3", "Config1", "Config2",
                            "Config3", "Advanced1", "Advanced2", "Advanced3", "Sitesurvey1", "Sitesurvey2",
                            "Sitesurvey3", "About1", "About2", "About3"}) {
        paths << builtinSkinPath(key);
    }
    paths.removeDuplicates(); // the layout editor's bitmap is a skin picture too
    for (int id : kButtonBitmapIds) {
        paths << buttonBitmapPath(id);
    }
    for (const NamedBitmap& button : kButtons) {
        paths << blankButtonPath(button.name);
    }
    return paths;
}

} // namespace artwork
