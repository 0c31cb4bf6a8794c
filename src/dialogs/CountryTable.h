#pragma once

#include <string>
#include <vector>

// The countries the first-run selector offers, in the order shown, and the regulatory
// domain each one fixes.
struct CountryEntry {
    std::string name;
    int code;             // channel-plan code handed to the driver
    std::string domain;   // text shown for the domain, with its leading blank
    std::string channels; // text shown for the channels, with its leading blank
    // ISO 3166 code of a country or territory with a regulatory domain of its own; empty for a
    // region, a standard, or a place whose domain is another's.
    std::string isoCode;
};

const std::vector<CountryEntry>& countryTable();
// The entry of a list position; positions outside the table give the first entry.
const CountryEntry& countryAt(int index);
