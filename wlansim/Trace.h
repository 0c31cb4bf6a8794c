#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wlansim {

// One line of the call trace: the function's name, its arguments separated by single blanks,
// and for calls whose result is read, " -> " and the results.
//   texts: in double quotes with C escapes; integers: decimal;
//   int blocks: comma-separated decimals; byte blocks: hex pairs joined by colons.
class TraceLine {
public:
    explicit TraceLine(std::string_view name) : m_line(name) {}

    void number(long long value);
    void text(const char* value, std::size_t limit);
    void bytes(const unsigned char* value, std::size_t count);
    void ints(const int32_t* value, std::size_t count);
    void arrow(); // starts the results; later values follow as results

    const std::string& line() const { return m_line; }

private:
    void separate();

    std::string m_line;
    bool m_arrow = false;
    bool m_firstResult = false;
};

// Appends the line and a newline to the file in one write; failures are ignored.
void appendTraceLine(const std::string& path, const std::string& line);

} // namespace wlansim
