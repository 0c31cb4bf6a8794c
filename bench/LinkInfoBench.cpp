// Cost of one Link Info refresh as the user sees it: every field set, two pushes into each
// throughput strip, and the page (fields, bars and strips) repainted, at 96 dpi on the
// offscreen platform.
#include "pages/LinkInfoPage.h"
#include "support/FakeContext.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void associate(FakeWindowState& host) {
    copyText(host.current.cSSID, "HomeNet");
    host.current.NetworkType = 1;
    host.current.Channel = 5;
    host.current.TxRate = 12;
    host.current.EncryptionMode = 3;
    host.link.connected = 1;
    const unsigned char bssid[6] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    std::memcpy(host.link.bssid, bssid, sizeof bssid);
}

// Values change every second, so each refresh really sets new texts and bar positions.
void nextSecond(FakeWindowState& host, int second) {
    host.link.signalStrength = 40 + second % 60;
    host.link.linkQuality = 30 + (second * 7) % 70;
    host.link.counters.txDelta = static_cast<uint64_t>((second * 977) % 16000);
    host.link.counters.rxDelta = static_cast<uint64_t>((second * 1531) % 16000);
}

// Shows the page once, then times one second's refresh and repaint per iteration.
void measureRefresh(benchmark::State& state, FakeContext& fake) {
    FakeWindowState& host = fake.window;
    LinkInfoPage page(fake.context, nullptr, false);
    page.show();
    QApplication::processEvents();
    int second = 0;
    for (auto _ : state) {
        nextSecond(host, ++second);
        page.Refresh();
        page.repaint();
    }
    QApplication::processEvents();
    state.counters["dpi"] = page.logicalDpiX();
}

void LinkInfoRefresh(benchmark::State& state) {
    FakeContext fake;
    associate(fake.window);
    measureRefresh(state, fake);
}
BENCHMARK(LinkInfoRefresh)->Unit(benchmark::kMicrosecond);

// The same with an ad hoc network: bars disabled, grey frame, empty percentages.
void LinkInfoRefreshAdHoc(benchmark::State& state) {
    FakeContext fake;
    associate(fake.window);
    fake.window.current.NetworkType = 0;
    measureRefresh(state, fake);
}
BENCHMARK(LinkInfoRefreshAdHoc)->Unit(benchmark::kMicrosecond);

} // namespace
