// The supplicant backend asks the store for files from the adapter's threads while the
// certificate dialog has the store read in the background and lists on the window's thread.
#include "platform/OpenSslCertificateStore.h"
#include "support/CertificateStoreFixture.h"

#include <atomic>
#include <thread>

namespace {

class CertificateThreadTest : public CertificateStoreFixture {};

TEST_F(CertificateThreadTest, LookupsFromOtherThreadsWhileTheDialogReads) {
    layOutPersonalFolder();
    layOutSystemTrust();
    OpenSslCertificateStore store;
    const auto& c = certs();
    store.startReading();
    ASSERT_TRUE(waitForReading(store));
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    const auto lookUp = [&] {
        while (!stop) {
            const auto files = store.filesFor(c.jdoe.identifier);
            const auto pem = store.pemFor(c.dirRoot.identifier);
            if (!files || files->certificateFile != personal + "/jdoe.pem" || !pem ||
                *pem != c.dirRoot.certificatePem) {
                ++wrong;
            }
        }
    };
    std::thread first(lookUp);
    std::thread second(lookUp);
    for (int round = 0; round < 20; ++round) {
        std::vector<std::string> texts;
        std::vector<std::string> identifiers;
        EXPECT_TRUE(store.Enumerate(CertificateKind::Personal, texts, identifiers));
        EXPECT_TRUE(store.Enumerate(CertificateKind::Authority, texts, identifiers));
        EXPECT_TRUE(store.Select(round % 2 == 0 ? c.jdoe.identifier : c.pat.identifier));
        EXPECT_EQ(store.LoginName(), round % 2 == 0 ? "jdoe" : "pat");
        // A new reading in the background while the window's thread looks at its progress.
        store.startReading();
        EXPECT_LE(store.listing(CertificateKind::Personal).certificates.size(), 9u);
    }
    ASSERT_TRUE(waitForReading(store));
    EXPECT_EQ(store.listing(CertificateKind::Personal).certificates.size(), 9u);
    stop = true;
    first.join();
    second.join();
    EXPECT_EQ(wrong, 0);
}

// A store that goes away while it reads (a dialog opened and closed at once) stops after the
// file it is reading, and never waits for itself.
TEST_F(CertificateThreadTest, AStoreGoneWhileReadingStopsItsReading) {
    layOutPersonalFolder();
    layOutSystemTrust();
    for (int round = 0; round < 20; ++round) {
        OpenSslCertificateStore store;
        store.startReading();
        if (round % 2 == 1) {
            (void)store.listing(CertificateKind::Personal);
        }
    }
}

} // namespace
