#pragma once

#include "Page.h"

// Network type, SSID, band, channel, wireless modes, power saving and preamble, set by hand.
class ConfigPage : public Page {
    Q_OBJECT
public:
    ConfigPage(AppContext& context, QWidget* parent);

    void Load();  // from the configuration chosen last
    void Apply(); // hands the page's configuration to the next status tick

    // The page is loaded before it shows and once more after its button took the selected look.
    void aboutToShow() override { Load(); }
    void shown() override { Load(); }
    void completeApply() override { Apply(); }
};
