#include "dialogs/CountryTable.h"

#include <algorithm>
#include <array>

namespace {

enum class Domain { Fcc, Etsi, France, Israel, Mkk };

CountryEntry makeEntry(const char* name, Domain domain, const char* isoCode) {
    switch (domain) {
    case Domain::Fcc:
        return {name, 3, " FCC", " 1-11", isoCode};
    case Domain::France:
        return {name, 5, " FRANCE", " 1-13", isoCode};
    case Domain::Israel:
        return {name, 6, " ISRAEL", " 3-9", isoCode};
    case Domain::Mkk:
        return {name, 7, " MKK", " 1-13", isoCode};
    case Domain::Etsi:
        break;
    }
    return {name, 2, " ETSI", " 1-13", isoCode};
}

struct Row {
    const char* name;
    Domain domain;
    const char* isoCode;
};

std::vector<CountryEntry> buildTable() {
    using enum Domain;
    const std::array<Row, 37> rows = {{
        {"African", Fcc, ""},           {"Australia", Fcc, "AU"},     {"Belgium", Etsi, "BE"},
        {"Canada", Fcc, "CA"},          {"China", Fcc, "CN"},         {"Colombia", Fcc, "CO"},
        {"Czech Republic", Etsi, "CZ"}, {"Egypt", Etsi, "EG"},        {"Europe", Etsi, ""},
        {"France", France, "FR"},       {"Gaza Strip", Israel, ""},   {"Germany", Etsi, "DE"},
        {"Greece", Etsi, "GR"},         {"Hong Kong", Fcc, "HK"},     {"India", Etsi, "IN"},
        {"Israel", Israel, "IL"},       {"Italy", Etsi, "IT"},        {"Japan", Mkk, "JP"},
        {"Korea", Fcc, "KR"},           {"Luxembourg", Etsi, "LU"},   {"Malaysia", Fcc, "MY"},
        {"Mezico", Etsi, "MX"},         {"Netherlands", Etsi, "NL"},  {"New Zealand", Fcc, "NZ"},
        {"Poland", Etsi, "PL"},         {"Portugal", Etsi, "PT"},     {"Singapore", France, "SG"},
        {"South Africa", Etsi, "ZA"},   {"Spain", Etsi, "ES"},        {"Taiwan", Fcc, "TW"},
        {"Thailand", Etsi, "TH"},       {"Turkey", Etsi, "TR"},       {"Ukraine", Etsi, "UA"},
        {"United Kingdom", Etsi, "GB"}, {"United States", Fcc, "US"}, {"FCC Standard", Fcc, ""},
        {"ETSI Standard", Etsi, ""},
    }};
    std::vector<CountryEntry> table;
    table.reserve(rows.size());
    std::transform(rows.begin(), rows.end(), std::back_inserter(table),
                   [](const Row& row) { return makeEntry(row.name, row.domain, row.isoCode); });
    return table;
}

} // namespace

const std::vector<CountryEntry>& countryTable() {
    static const std::vector<CountryEntry> table = buildTable();
    return table;
}

const CountryEntry& countryAt(int index) {
    const auto& table = countryTable();
    if (index < 0 || index >= static_cast<int>(table.size())) {
        return table.front();
    }
    return table[static_cast<size_t>(index)];
}
