#pragma once

#include <optional>

// The simulated driver's own table of channel numbers and driver channel codes, kept apart
// from the program's table on purpose: a mistake in either shows up in a round trip between
// the two instead of cancelling out.
//
// Codes 1..14 are the 2.4 GHz channels 1..14; codes 19..26 are 36..64 in steps of 4 and
// codes 27..31 are 149..165 in steps of 4. Codes 15..18 are not used.
namespace wlansim {

// The driver code of a channel number; nothing for a number the adapter cannot use.
std::optional<int> driverCodeOfChannel(int number);
// The channel number of a driver code; nothing for a code outside the table.
std::optional<int> channelOfDriverCode(int code);
bool is5GHzChannel(int number);

} // namespace wlansim
