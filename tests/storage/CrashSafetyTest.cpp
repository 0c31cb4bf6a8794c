#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "storage/ProfileStore.h"
#include "storage/StoredText.h"
#include "support/ScratchDirectory.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/wait.h>

// A child runs store operations in a loop and is killed at random moments. After each kill
// the store must be whole and hold exactly the state after the last reported operation or
// after the one that was running: every operation is done or not done, never half.
//
// The operations repeat with period 5, so the expected state after operation j is known:
//   j%5 == 0: WriteProfile slot 1 with generation j of profile P1
//   j%5 == 1: MoveProfileSection slot 2 -> slot 5 (P2)
//   j%5 == 2: MoveProfileSection slot 5 -> slot 2
//   j%5 == 3: RemoveProfile P3 (other profiles stay live, so no reset)
//   j%5 == 4: setSlotState slot 3 back to live
namespace {

ProfileRecord generation(const std::string& name, int gen) {
    ProfileRecord r;
    const std::string tag = name + "#" + std::to_string(gen);
    r.Profilename = name;
    r.SSID = tag;
    r.bsstype = 1;
    r.Channel = (gen + 27) % 27;
    r.AuthListIndex = gen;
    for (int i = 0; i < 4; ++i) {
        r.wepKey(i) = tag + "/" + std::to_string(i);
        r.keyLength(i) = gen;
    }
    r.WPAPassPhase = (tag + std::string(63, 'w')).substr(0, 63);
    r.LoginName = tag;
    r.TxRate = gen;
    r.Mode11at = gen;
    return r;
}

ProfileRecord withoutSecrets(ProfileRecord r) {
    for (int i = 0; i < 4; ++i) {
        r.wepKey(i).clear();
    }
    r.WPAPassPhase.clear();
    r.CertificateHash.clear();
    r.CertificateName.clear();
    r.DomainName.clear();
    r.LoginName.clear();
    return r;
}

void runOperation(ProfileStore& store, int j) {
    switch (j % 5) {
    case 0:
        store.WriteProfile("Profile_index_1", generation("P1", j));
        break;
    case 1:
        store.MoveProfileSection("Profile_index_5", "Profile_index_2");
        break;
    case 2:
        store.MoveProfileSection("Profile_index_2", "Profile_index_5");
        break;
    case 3:
        store.RemoveProfile("P3");
        break;
    default:
        store.setSlotState("Profile_index_3", ProfileStore::SlotState::Live);
        break;
    }
}

struct Expected {
    int p1Generation;
    int p2Slot;
    bool slot5Exists;
    std::string p3State;
    bool p3Removed; // removed once: its secrets are blank, also when it is marked live again
};

Expected expectedAfter(int last) {
    Expected e{-1, 2, last >= 1, "1", last >= 3};
    if (last >= 0) {
        e.p1Generation = last - last % 5;
        e.p2Slot = last % 5 == 1 ? 5 : 2;
        e.p3State = last % 5 == 3 ? "0" : "1";
    }
    return e;
}

// Every line of the file is a section header, a key line or empty: nothing torn.
bool wellFormed(const std::string& text) {
    if (!text.empty() && text.back() != '\n') {
        return false;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        const bool header = !line.empty() && line.front() == '[' && line.back() == ']';
        if (!line.empty() && !header && line.find('=') == std::string::npos) {
            return false;
        }
        start = end + 1;
    }
    return true;
}

} // namespace

class CrashSafety : public ScratchDirectory {
protected:
    void prepareStore() {
        ::unlink("S.CBA");
        auto batch = store.beginBatch();
        for (int slot = 1; slot <= 4; ++slot) {
            const std::string section = ProfileStore::slotSection(slot);
            batch.WriteProfile(section, generation("P" + std::to_string(slot), -1));
            batch.setSlotState(section, ProfileStore::SlotState::Live);
        }
        ASSERT_TRUE(batch.commit());
    }

    // Whether the file holds exactly the state after operation `last`.
    bool holdsStateAfter(int last, std::string& why) const {
        const Expected e = expectedAfter(last);
        const auto checkSlot = [&](int slot, const ProfileRecord& record, const std::string& state) {
            const std::string section = ProfileStore::slotSection(slot);
            if (store.ReadProfile(section) != record) {
                why = section + " holds another record";
                return false;
            }
            if (platform::IniTransaction("S.cba").find(section, "true_false").value_or("") != state) {
                why = section + " has another state";
                return false;
            }
            return true;
        };
        const int vacated = e.p2Slot == 2 ? 5 : 2;
        const bool vacatedOk = vacated == 5 && !e.slot5Exists
                                   ? !platform::IniTransaction("S.cba").find("Profile_index_5", "Profilename")
                                   : checkSlot(vacated, ProfileRecord{}, "");
        return checkSlot(1, generation("P1", e.p1Generation), "1") &&
               checkSlot(e.p2Slot, generation("P2", -1), "1") &&
               checkSlot(3, e.p3Removed ? withoutSecrets(generation("P3", -1)) : generation("P3", -1),
                         e.p3State) &&
               checkSlot(4, generation("P4", -1), "1") &&
               (vacatedOk || (why = "vacated slot not empty", false));
    }

    // Forks a child that runs operation(store, j) for j = 0, 1, ... and reports each one done, kills
    // it at a random moment, and asks holdsStateAfter whether the file holds the state after the
    // last reported operation or after the one that was running; prepare() sets the store up first.
    template <typename Prepare, typename Operation, typename Holds>
    void killRounds(int rounds, Prepare prepare, Operation operation, Holds holdsStateAfter) {
        writeFile("b.cba", "");
        // Only the rename matters when a process is killed; waiting for the disk would let the
        // children finish too few operations.
        platform::setSyncToDisk(false);
        std::mt19937 random(20240611);
        for (int round = 0; round < rounds; ++round) {
            prepare();
            int report[2];
            ASSERT_EQ(::pipe(report), 0);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                ::close(report[0]);
                ProfileStore childStore;
                const int ready = -1;
                if (::write(report[1], &ready, sizeof ready) != sizeof ready) {
                    ::_exit(1);
                }
                for (int j = 0; j < 1000000; ++j) {
                    operation(childStore, j);
                    if (::write(report[1], &j, sizeof j) != sizeof j) {
                        ::_exit(1);
                    }
                }
                ::_exit(0);
            }
            ::close(report[1]);
            int ready = 0;
            ASSERT_EQ(::read(report[0], &ready, sizeof ready), static_cast<ssize_t>(sizeof ready));
            // The first operation done, so that a busy machine cannot starve every child before it
            // has done anything; the kill comes at a random moment after it.
            int last = -1;
            ASSERT_EQ(::read(report[0], &last, sizeof last), static_cast<ssize_t>(sizeof last));
            ::usleep(std::uniform_int_distribution<unsigned>(0, 30000)(random));
            ::kill(child, SIGKILL);
            ::waitpid(child, nullptr, 0);
            for (int j = 0; ::read(report[0], &j, sizeof j) == sizeof j;) {
                last = j;
            }
            ::close(report[0]);

            const std::string text = readFile("S.CBA");
            ASSERT_TRUE(wellFormed(text)) << "round " << round;
            EXPECT_EQ(modeOf("S.CBA"), 0600u);
            std::string whyNotDone;
            std::string whyNotNext;
            EXPECT_TRUE(holdsStateAfter(last, whyNotDone) || holdsStateAfter(last + 1, whyNotNext))
                << "round " << round << ", last reported operation " << last << ": " << whyNotDone << " / "
                << whyNotNext;
        }
        platform::setSyncToDisk(true);
        // The next replacement clears what the killed writers left behind.
        prepare();
        for (const auto& entry : std::filesystem::directory_iterator(".")) {
            EXPECT_EQ(entry.path().filename().string().find("tmp"), std::string::npos)
                << "temporary file left behind: " << entry.path();
        }
    }

    ProfileStore store;
};

TEST_F(CrashSafety, KilledOperationsAreDoneOrNotDone) {
    killRounds(
        50, [this] { prepareStore(); }, runOperation,
        [this](int last, std::string& why) { return holdsStateAfter(last, why); });
}

// The profile editor's save writes the profile and "on_link" together: a killed save leaves
// both as they were or both saved, never a profile whose connection was not recorded.
TEST_F(CrashSafety, KilledEditorSavesKeepProfileAndOnLinkTogether) {
    const auto ssidOf = [](int j) { return j < 0 ? std::string("P2#-1") : "saved-" + std::to_string(j); };
    killRounds(
        30,
        [this] {
            prepareStore();
            ASSERT_TRUE(store.saveProfile("P2", 0, {}, {{"SSID", EncodeStoredText("P2#-1")}}).status ==
                        ProfileStore::SaveStatus::Saved);
        },
        [&](ProfileStore& child, int j) {
            const std::string ssid = EncodeStoredText(ssidOf(j));
            // The other letter case finds P2's slot.
            child.saveProfile("p2", 0,
                              {{"SSID", ssid}, {"true_false", "1"}, {"Channel", std::to_string(j % 27)}},
                              {{"SSID", ssid}, {"Channel", std::to_string(j % 27)}});
        },
        [&](int last, std::string& why) {
            ProfileRecord p2 = generation("P2", -1);
            p2.SSID = ssidOf(last);
            if (last >= 0) {
                p2.Channel = last % 27;
            }
            if (store.ReadProfile("Profile_index_2") != p2) {
                why = "slot 2 holds another record";
                return false;
            }
            const OnLinkRecord onLink = store.ReadOnLink();
            if (onLink.SSID != p2.SSID || onLink.Channel != (last >= 0 ? p2.Channel : 0)) {
                why = "on_link does not match the profile";
                return false;
            }
            return true;
        });
}
