#pragma once

#include "adapter/AdapterBackend.h"
#include "adapter/DriverApi.h"

#include <memory>

// The adapter reached through its driver library (wlandll.h), one DriverApi call at a time.
// This is where the library's C records are decoded: the little-endian statistics, IP and
// survey blocks, texts that may fill their buffers without a terminator, and the driver's
// codes, which pass through the program's code tables in both directions.
//
// The library scans inside API_SiteSurvey, so requestScan() makes no call and collectScan()
// makes that one call. The driver is held by shared ownership so that a thread left running
// inside a call keeps it alive.
class DriverLibraryBackend final : public AdapterBackend {
public:
    explicit DriverLibraryBackend(std::shared_ptr<DriverApi> driver);

    std::string name() const override;

    bool probe() override;
    bool start() override;
    bool unplugged() override;
    void stop() override;

    AdapterInfo readAdapterInfo() override;
    void readLink(LinkStatus& status, TrafficReading& traffic) override;

    bool requestScan() override;
    std::vector<BssEntry> collectScan() override;

    void apply(const StationSettings& record) override;
    void readBack(StationSettings& record) override;

    int channelPlan() override;
    void setChannelPlan(int plan) override;

    bool systemServiceManages() override;
    int32_t systemServiceState() override;
    void openSystemSettings() override;

private:
    void applySecurity(const StationSettings& record, int32_t encryptionCode);
    TrafficReading readTraffic();
    void readIpTexts(LinkStatus& status);

    std::shared_ptr<DriverApi> m_driver;
};

// The backend bound to the linked driver library, libwlandll.so (target skyvane_driverlib).
std::shared_ptr<AdapterBackend> makeDriverLibraryBackend();
