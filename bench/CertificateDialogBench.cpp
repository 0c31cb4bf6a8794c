// Opening the certificate dialog as a user does, until it is shown: the personal folder with
// twenty certificates and their keys, and the machine's own trust store (about 140 authorities
// on Debian), offscreen. The store reads them in the background: "shown" is the time until the
// dialog is on screen, "read" (a counter, in ms) until both lists are complete.
//
// OpenCertificateDialogOverHostileFiles adds two PKCS#12 files to the folder: one whose MAC asks
// for 4194304 rounds of key derivation (refused unread) and one that asks for 1000000 rounds,
// the most the store reads, in each of its MAC, its certificates and its key. The dialog must be
// shown within 100 ms all the same.
#include "dialogs/CertificateDialog.h"
#include "platform/OpenSslCertificateStore.h"
#include "storage/TextCatalog.h"
#include "support/RecordingUiServices.h"
#include "support/TestCertificates.h"

#include <QApplication>
#include <QComboBox>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// A scratch $XDG_DATA_HOME holding twenty client certificates, each with its key in its file,
// and, when hostile, the two slow PKCS#12 files.
class PersonalFolder {
public:
    explicit PersonalFolder(bool hostile) {
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
        if (hostile) {
            const TestCertificate laptop = maker.issue(CertificateRequest("Laptop"));
            writeTestFile(folder + "/huge-mac.p12", TestCertificates::pkcs12WithRounds(
                                                        laptop, 4194304, TestCertificates::Pkcs12Part::None));
            writeTestFile(folder + "/slow.p12", TestCertificates::pkcs12(laptop, "Slow", "", 1000000));
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

void openDialog(benchmark::State& state, bool hostile) {
    const PersonalFolder folder(hostile);
    RecordingUiServices ui;
    const TextCatalog texts("no-such-catalogue.ini");
    int certificates = 0;
    int authorities = 0;
    double readMs = 0;
    for (auto _ : state) {
        OpenSslCertificateStore store; // the first opening: nothing read yet
        const auto start = std::chrono::steady_clock::now();
        CertificateDialog dialog(store, ui, texts);
        dialog.show();
        QApplication::processEvents();
        const auto shown = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
        while (!dialog.listsRead()) {
            QApplication::processEvents();
            QThread::msleep(2);
        }
        readMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        certificates = dialog.findChild<QComboBox*>(QStringLiteral("certificateCombo"))->count();
        authorities = dialog.findChild<QComboBox*>(QStringLiteral("authorityCombo"))->count() - 1;
    }
    state.counters["certificates"] = certificates;
    state.counters["authorities"] = authorities;
    state.counters["read_ms"] = readMs;
}

void OpenCertificateDialog(benchmark::State& state) {
    openDialog(state, false);
}
BENCHMARK(OpenCertificateDialog)->UseManualTime()->Unit(benchmark::kMillisecond);

void OpenCertificateDialogOverHostileFiles(benchmark::State& state) {
    openDialog(state, true);
}
BENCHMARK(OpenCertificateDialogOverHostileFiles)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

} // namespace
