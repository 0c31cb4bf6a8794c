#pragma once

#include "Page.h"

// Network type, SSID, band, channel, wireless modes, power saving and preamble, set by hand.
class ConfigPage : public Page {
    Q_OBJECT
public:
    ConfigPage(MainWindowHost& host, QWidget* parent);

    void Load();  // from the configuration chosen last
    void Apply(); // hands the page's configuration to the next status tick
};
