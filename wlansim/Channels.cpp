#include "wlansim/Channels.h"

#include <array>

namespace wlansim {
namespace {

struct Channel {
    int number;
    int code;
};

constexpr std::array<Channel, 27> kChannels = {{
    {1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5},    {6, 6},    {7, 7},    {8, 8},    {9, 9},
    {10, 10}, {11, 11}, {12, 12}, {13, 13}, {14, 14},  {36, 19},  {40, 20},  {44, 21},  {48, 22},
    {52, 23}, {56, 24}, {60, 25}, {64, 26}, {149, 27}, {153, 28}, {157, 29}, {161, 30}, {165, 31},
}};

} // namespace

std::optional<int> driverCodeOfChannel(int number) {
    for (const Channel& channel : kChannels) {
        if (channel.number == number) {
            return channel.code;
        }
    }
    return std::nullopt;
}

std::optional<int> channelOfDriverCode(int code) {
    for (const Channel& channel : kChannels) {
        if (channel.code == code) {
            return channel.number;
        }
    }
    return std::nullopt;
}

bool is5GHzChannel(int number) {
    return number >= 36;
}

} // namespace wlansim
