#pragma once
// The main window built over the recording driver and the recording UI services, in a folder
// of its own per test holding a small settings file and skin pictures of one colour each, so
// a button's picture tells which skin key it came from.

#include "adapter/DriverLibraryBackend.h"
#include "controls/SkinButton.h"
#include "platform/OpenSslCertificateStore.h"
#include "shell/MainDialog.h"
#include "shell/ShellState.h"
#include "shell/TrayController.h"
#include "storage/AppSettings.h"
#include "storage/ProfileStore.h"
#include "storage/RegistryMirror.h"
#include "storage/TextCatalog.h"
#include "support/RecordingDriver.h"
#include "support/RecordingUiServices.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace shelltest {

struct SkinKey {
    std::string key;
    QSize size;
};

// Every skin key of the settings file, with the size of its picture.
inline const std::vector<SkinKey>& skinKeys() {
    static const std::vector<SkinKey> keys = [] {
        std::vector<SkinKey> list{{"Main", {620, 410}}, {"X1", {22, 22}}};
        for (const char* page : {"Link_Info", "Config", "Advanced", "Sitesurvey", "About"}) {
            for (const char* state : {"1", "2", "3"}) {
                list.push_back({std::string(page) + state, {148, 34}});
            }
        }
        return list;
    }();
    return keys;
}

// A colour of its own for each key; none is magenta, the transparent colour.
inline QRgb skinColour(size_t index) {
    return QColor::fromHsv(static_cast<int>(index) * 19 % 360, 180, 120 + static_cast<int>(index) * 7).rgb();
}

// The skin key whose picture the button shows now, or "" when it is none of them.
inline std::string shownKey(const SkinButton* button) {
    const QImage image = button->currentImage();
    if (image.isNull()) {
        return "";
    }
    const QRgb pixel = image.pixel(image.width() / 2, image.height() / 2) | 0xff000000u;
    for (size_t i = 0; i < skinKeys().size(); ++i) {
        if (pixel == (skinColour(i) | 0xff000000u)) {
            return skinKeys()[i].key;
        }
    }
    return "";
}

struct Settings {
    std::optional<std::string> countryDomain = "3"; // nullopt: no such key
    std::string onOff = "0";
    std::vector<std::string> missingSections;

    Settings& country(std::optional<std::string> value) {
        countryDomain = std::move(value);
        return *this;
    }
    Settings& layoutEditor(std::string value) {
        onOff = std::move(value);
        return *this;
    }
    Settings& without(std::string section) {
        missingSections.push_back(std::move(section));
        return *this;
    }
};

// The delivered layout; skin keys name this folder's pictures.
inline void writeSettings(const Settings& settings) {
    std::ofstream out("a.cba", std::ios::trunc);
    out << "[Setini]\n";
    if (settings.countryDomain) {
        out << "CountryDomain=" << *settings.countryDomain << "\n";
    }
    out << "OnOff=" << settings.onOff << "\nVer=1.0.0\nAutoWPAWPA2=YES\n";
    for (const SkinKey& skin : skinKeys()) {
        out << skin.key << "=skin/" << skin.key << ".png\n";
    }
    out << "\n[Check]\n11b=1\n11g=1\n11gt=1\n11a=1\n11at=1\nXR=1\n";
    const struct {
        const char* name;
        int left, top, right, bottom;
    } layout[] = {{"LINK_INFO", 12, 71, 160, 105}, {"CONFIG", 12, 113, 160, 147},
                  {"ADVANCED", 12, 155, 160, 189}, {"SITESURVEY", 12, 197, 160, 231},
                  {"ABOUT", 12, 239, 160, 273},    {"X", 583, 14, 605, 36},
                  {"TAB_MAIN", 172, 71, 604, 398}};
    for (const auto& section : layout) {
        if (std::find(settings.missingSections.begin(), settings.missingSections.end(), section.name) !=
            settings.missingSections.end()) {
            continue;
        }
        out << "\n[" << section.name << "]\ntop=" << section.top << "\nbottom=" << section.bottom
            << "\nright=" << section.right << "\nleft=" << section.left << "\n";
    }
}

inline void writeSkin() {
    std::filesystem::create_directory("skin");
    for (size_t i = 0; i < skinKeys().size(); ++i) {
        QImage image(skinKeys()[i].size, QImage::Format_RGB32);
        image.fill(skinColour(i));
        image.save(QStringLiteral("skin/%1.png").arg(QString::fromStdString(skinKeys()[i].key)));
    }
}

// "on_link" of an infrastructure network without security, the configuration chosen last.
inline void writeOnLink(const std::string& ssid) {
    ProfileRecord record;
    record.Profilename = ssid;
    record.SSID = ssid;
    record.bsstype = 1;
    record.AuthListIndex = 7; // "Disable"
    record.Channel = 5;
    record.Mode11b = 1;
    record.Mode11g = 1;
    ProfileStore().writeOnLink(record);
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string folder = std::string(test->test_suite_name()) + "." + test->name();
        for (char& c : folder) {
            c = c == '/' ? '_' : c;
        }
        m_home = std::filesystem::current_path();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        std::filesystem::current_path(folder);
        writeSkin();
        writeSettings({});
        // An associated adapter with a good signal, free of the system's wireless service.
        m_driver.update([](DriverAnswers& a) {
            a.linkState = 1;
            a.signalStrength = 80;
        });
    }

    void TearDown() override {
        m_window.reset();
        std::filesystem::current_path(m_home);
    }

    MainDialog& open(bool trayAvailable = true) {
        return openOn(std::make_shared<DriverLibraryBackend>(m_driverHandle), trayAvailable);
    }

    // The window over another backend (the recording driver then goes unused).
    MainDialog& openOn(std::shared_ptr<AdapterBackend> backend, bool trayAvailable = true) {
        m_window = std::make_unique<MainDialog>(std::move(backend), m_services,
                                                MainDialog::Options{WirelessAdapter::Monitor::Manual, false,
                                                                    trayAvailable
                                                                        ? TrayController::Presence::Present
                                                                        : TrayController::Presence::Absent});
        m_window->OnInitDialog();
        return *m_window;
    }

    // One second of the running program: the monitor cycle, then the status tick.
    void second() {
        m_window->adapter().runMonitorCycle();
        m_window->onStatusTimer();
    }

    // A page's or dialog's hand-over of a configuration with this SSID.
    void handOver(const char* ssid) {
        StationSettings config{};
        copyText(config.cSSID, ssid);
        config.NetworkType = 1;
        m_window->state().handOver(config);
    }

    void unplug() {
        m_driver.update([](DriverAnswers& a) {
            a.adapterPresent = 0;
            a.unplugResult = 1;
        });
    }
    void plugIn() {
        m_driver.update([](DriverAnswers& a) {
            a.adapterPresent = 1;
            a.unplugResult = 0;
        });
    }
    void setLink(int32_t state, int32_t signal = 80) {
        m_driver.update([=](DriverAnswers& a) {
            a.linkState = state;
            a.signalStrength = signal;
        });
    }
    void setSystemControl(int flag) {
        m_driver.update([=](DriverAnswers& a) { a.wzcControlFlag = flag; });
    }

    template <typename T = QWidget> T* child(const char* name) const {
        T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::shared_ptr<RecordingDriver> m_driverHandle = std::make_shared<RecordingDriver>();
    RecordingDriver& m_driver = *m_driverHandle;
    RecordingUiServices m_ui;
    ProfileStore m_store;
    AppSettings m_settings;
    TextCatalog m_texts;
    RegistryMirror m_mirror{registryKeyPath, "registry"};
    OpenSslCertificateStore m_certificates;
    AppServices m_services{m_store, m_settings, m_texts, m_mirror, m_ui, m_certificates};
    std::unique_ptr<MainDialog> m_window;

private:
    std::filesystem::path m_home;
};

} // namespace shelltest
