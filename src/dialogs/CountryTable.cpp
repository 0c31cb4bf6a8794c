#include "CountryTable.h"

#include <algorithm>
#include <array>

namespace {

enum class Domain { Fcc, Etsi, France, Israel, Mkk };

CountryEntry makeEntry(const char* name, Domain domain) {
    switch (domain) {
    case Domain::Fcc:
        return {name, 3, " FCC", " 1-11"};
    case Domain::France:
        return {name, 5, " FRANCE", " 1-13"};
    case Domain::Israel:
        return {name, 6, " ISRAEL", " 3-9"};
    case Domain::Mkk:
        return {name, 7, " MKK", " 1-13"};
    case Domain::Etsi:
        break;
    }
    return {name, 2, " ETSI", " 1-13"};
}

std::vector<CountryEntry> buildTable() {
    using enum Domain;
    const std::array<std::pair<const char*, Domain>, 37> rows = {{
        {"African", Fcc},        {"Australia", Fcc},       {"Belgium", Etsi},        {"Canada", Fcc},
        {"China", Fcc},          {"Colombia", Fcc},        {"Czech Republic", Etsi}, {"Egypt", Etsi},
        {"Europe", Etsi},        {"France", France},       {"Gaza Strip", Israel},   {"Germany", Etsi},
        {"Greece", Etsi},        {"Hong Kong", Fcc},       {"India", Etsi},          {"Israel", Israel},
        {"Italy", Etsi},         {"Japan", Mkk},           {"Korea", Fcc},           {"Luxembourg", Etsi},
        {"Malaysia", Fcc},       {"Mezico", Etsi},         {"Netherlands", Etsi},    {"New Zealand", Fcc},
        {"Poland", Etsi},        {"Portugal", Etsi},       {"Singapore", France},    {"South Africa", Etsi},
        {"Spain", Etsi},         {"Taiwan", Fcc},          {"Thailand", Etsi},       {"Turkey", Etsi},
        {"Ukraine", Etsi},       {"United Kingdom", Etsi}, {"United States", Fcc},   {"FCC Standard", Fcc},
        {"ETSI Standard", Etsi},
    }};
    std::vector<CountryEntry> table;
    table.reserve(rows.size());
    std::transform(rows.begin(), rows.end(), std::back_inserter(table),
                   [](const auto& row) { return makeEntry(row.first, row.second); });
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
