// Opening the certificate dialog as a user does, until it is shown: the personal folder with
// twenty certificates and their keys, and the machine's own trust store (about 140 authorities
// on Debian), both read and listed, offscreen.
#include "dialogs/CertificateDialog.h"
#include "platform/OpenSslCertificateStore.h"
#include "support/RecordingUiServices.h"
#include "support/TestCertificates.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A scratch $XDG_DATA_HOME holding twenty client certificates, each with its key in its file.
class PersonalFolder {
public:
    PersonalFolder() {
        char pattern[] = "/tmp/certificate-bench.XXXXXX";
        m_root = ::mkdtemp(pattern);
        const std::string folder = m_root + "/skyvane/certificates";
        std::filesystem::create_directories(folder);
        TestCertificates maker;
        for (int i = 1; i <= 20; ++i) {
            const std::string name = "user" + std::to_string(i);
            const TestCertificate client = maker.issue(
                CertificateRequest("User " + std::to_string(i)).withPrincipal(name + "@corp.example.com"));
            writeTestFile(folder + "/" + name + ".pem", client.certificatePem + client.keyPem);
        }
        ::setenv("XDG_DATA_HOME", m_root.c_str(), 1);
    }
    ~PersonalFolder() {
        std::error_code error;
        std::filesystem::remove_all(m_root, error);
    }
    PersonalFolder(const PersonalFolder&) = delete;
    PersonalFolder& operator=(const PersonalFolder&) = delete;

private:
    std::string m_root;
};

void OpenCertificateDialog(benchmark::State& state) {
    const PersonalFolder folder;
    RecordingUiServices ui;
    int certificates = 0;
    int authorities = 0;
    for (auto _ : state) {
        OpenSslCertificateStore store; // as a page makes it for one opening
        CertificateDialog dialog(store, ui);
        dialog.show();
        QApplication::processEvents();
        certificates = dialog.findChild<QComboBox*>(QStringLiteral("certificateCombo"))->count();
        authorities = dialog.findChild<QComboBox*>(QStringLiteral("authorityCombo"))->count();
    }
    state.counters["certificates"] = certificates;
    state.counters["authorities"] = authorities;
}
BENCHMARK(OpenCertificateDialog)->Unit(benchmark::kMillisecond);

} // namespace
