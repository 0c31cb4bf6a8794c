#include "storage/ProfileStore.h"
#include "platform/FileSystem.h"
#include "platform/PrivateProfile.h"
#include "storage/StoredText.h"
#include "support/ScratchDirectory.h"
#include "support/SourceTree.h"
#include "support/StrictPermissions.h"

#include <optional>
#include <tuple>

namespace {

struct Row {
    int row;
    std::string name;
    int bsstype;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << r.row << ":" << r.name << ":" << r.bsstype;
}

// A record with a distinct value in every field, derived from its name.
ProfileRecord sampleRecord(const std::string& name, int seed = 1) {
    ProfileRecord r;
    r.Profilename = name;
    r.SSID = "net-" + name;
    r.bsstype = 1;
    r.Channel = seed % 27;
    r.PowerMode = 2;
    r.AuthListIndex = 3;
    r.CipherListIndex = -1;
    for (int i = 0; i < 4; ++i) {
        r.wepKey(i) = name + "-key" + std::to_string(i);
        r.keyLength(i) = i % 2;
        r.radio(i) = i == 1;
    }
    r.KeyFormat = 1;
    r.WPAPassPhase = std::string(63, 'p');
    r.CertificateHash = std::string(40, 'A');
    r.CertificateName = "cert-" + name;
    r.DomainName = "domain";
    r.LoginName = "login";
    r.Mode11b = 1;
    r.Mode11g = 0;
    r.Mode11gt = 1;
    r.ModeXR = 1;
    r.adhocband = 1;
    r.TxRate = seed;
    r.Mode11a = 1;
    r.Mode11at = 0;
    return r;
}

} // namespace

class ProfileStoreTest : public ScratchDirectory {
protected:
    void addProfile(int slot, const std::string& name, const std::string& state = "1", int bsstype = 1) {
        ProfileRecord record = sampleRecord(name, slot);
        record.bsstype = bsstype;
        const std::string section = ProfileStore::slotSection(slot);
        auto batch = store.beginBatch();
        batch.WriteProfile(section, record);
        if (state == "1" || state == "0") {
            batch.setSlotState(section, state == "1" ? ProfileStore::SlotState::Live
                                                     : ProfileStore::SlotState::Removed);
        } else {
            batch.set(section, "true_false", state); // as a hand edit leaves it
        }
        ASSERT_TRUE(batch.commit());
    }
    std::vector<Row> compact(int32_t& base) {
        std::vector<Row> rows;
        store.CompactProfiles(base, [&](int row, const std::string& name, int bsstype) {
            rows.push_back({row, name, bsstype});
        });
        return rows;
    }
    std::string raw(int slot, const std::string& key) const {
        return platform::IniTransaction("S.cba")
            .find(ProfileStore::slotSection(slot), key)
            .value_or("<missing>");
    }

    ProfileStore store;
};

TEST_F(ProfileStoreTest, StoreWithoutFileReadsAsEmpty) {
    EXPECT_EQ(store.ReadProfile("Profile_index_1"), ProfileRecord{});
    OnLinkRecord empty;
    EXPECT_EQ(store.ReadOnLink(), empty);
    EXPECT_EQ(store.FindProfileSection("home"), std::nullopt);
    int32_t base = -7;
    EXPECT_TRUE(compact(base).empty());
    EXPECT_EQ(base, 1);
    EXPECT_EQ(store.newProfileSection(base), "Profile_index_2");
    store.RemoveProfile("home");
    EXPECT_FALSE(exists("S.cba")) << "reads, compaction and a vain removal create nothing";
}

TEST_F(ProfileStoreTest, RecordsComeBackAsWritten) {
    const ProfileRecord record = sampleRecord("home");
    store.WriteProfile("Profile_index_4", record);
    EXPECT_EQ(store.ReadProfile("profile_index_4"), record);
    EXPECT_TRUE(exists("S.CBA")) << "writes create the store under the name they use";
    EXPECT_EQ(modeOf("S.CBA"), 0600u);
    EXPECT_EQ(raw(4, "true_false"), "<missing>") << "WriteProfile leaves the slot state alone";
    EXPECT_EQ(raw(4, "SSID"), EncodeStoredText("net-home"));
    EXPECT_EQ(raw(4, "Profilename"), "home");
    EXPECT_EQ(store.FindProfileSection("home"), "Profile_index_4");
    EXPECT_EQ(store.FindProfileSection("Home"), "Profile_index_4") << "one profile whatever the letter case";

    writeFile("a.cba", "[Setini]\nAutoWPAWPA2=YES\n");
    store.writeOnLink(record);
    store.writeOnLinkValues({{"PreambleMode", "2"}, {"Encryation Mode", "3"}});
    store.writeOnLinkScrambled("DomainName", "corp");
    const OnLinkRecord onLink = store.ReadOnLink();
    EXPECT_EQ(onLink.SSID, record.SSID);
    EXPECT_EQ(onLink.WEPKey3, record.WEPKey3);
    EXPECT_EQ(onLink.WPAPassPhase, record.WPAPassPhase);
    EXPECT_EQ(onLink.KeyLength2, 1);
    EXPECT_EQ(onLink.Radio2, 1);
    EXPECT_EQ(onLink.Mode11gt, 1);
    EXPECT_EQ(onLink.PreambleMode, 2);
    EXPECT_EQ(onLink.CipherListIndex, 3);
    EXPECT_EQ(onLink.DomainName, "corp");
    EXPECT_EQ(onLink.AutoWPAWPA2, "YES");
    EXPECT_EQ(platform::IniTransaction("S.cba").find("on_link", "Profilename"), "home");
}

TEST_F(ProfileStoreTest, OnlyEncryationModeIsRead) {
    writeFile("S.cba", "[Profile_index_1]\nEncryption Mode=2\n[on_link]\nEncryption Mode=2\n");
    EXPECT_EQ(store.ReadProfile("Profile_index_1").CipherListIndex, 0);
    EXPECT_EQ(store.ReadOnLink().CipherListIndex, 0);
    store.WriteProfile("Profile_index_1", sampleRecord("x"));
    EXPECT_EQ(raw(1, "Encryation Mode"), "-1");
    EXPECT_EQ(raw(1, "Encryption Mode"), "2");
}

TEST_F(ProfileStoreTest, CompactionClosesGaps) {
    addProfile(3, "three", "1", 0);
    addProfile(5, "bad-state", "01");
    addProfile(6, "no-state", "");
    addProfile(7, "seven");
    int32_t base = 0;
    EXPECT_EQ(compact(base), (std::vector<Row>{{3, "three", 0}, {7, "seven", 1}}));
    EXPECT_EQ(base, 3);
    ProfileRecord three = sampleRecord("three", 3);
    three.bsstype = 0;
    EXPECT_EQ(store.ReadProfile("Profile_index_1"), three);
    EXPECT_EQ(store.ReadProfile("Profile_index_2"), sampleRecord("seven", 7));
    for (int slot : {3, 7}) {
        for (const char* key :
             {"Profilename", "SSID", "true_false", "WPAPassPhase", "TxRate", "XR Extended Range"}) {
            EXPECT_EQ(raw(slot, key), "") << slot << " " << key;
        }
    }
    EXPECT_EQ(raw(5, "Profilename"), "bad-state") << "not live, not moved";
    EXPECT_EQ(raw(6, "Profilename"), "no-state");
    EXPECT_EQ(store.newProfileSection(base), "Profile_index_4");
}

TEST_F(ProfileStoreTest, MovesKeepStoredValuesWhole) {
    addProfile(9, "nine");
    const std::string stored = raw(9, "WPAPassPhase");
    ASSERT_EQ(stored.size(), 126u);
    store.MoveProfileSection("Profile_index_2", "Profile_index_9");
    EXPECT_EQ(raw(2, "WPAPassPhase"), stored);
    EXPECT_EQ(store.ReadProfile("Profile_index_2").WPAPassPhase, std::string(63, 'p'));
    EXPECT_EQ(raw(9, "WPAPassPhase"), "");

    store.MoveProfileSection("profile_index_2", "Profile_index_2");
    EXPECT_EQ(store.ReadProfile("Profile_index_2"), sampleRecord("nine", 9))
        << "a move onto itself changes nothing";
}

TEST_F(ProfileStoreTest, RemovedSlotsAndTheSlotForANewProfile) {
    addProfile(1, "one");
    addProfile(2, "two");
    addProfile(3, "three");
    addProfile(4, "four");
    EXPECT_EQ(store.newProfileSection(0), "Profile_index_5") << "before any list load";
    store.RemoveProfile("one");
    EXPECT_EQ(raw(1, "true_false"), "0");
    EXPECT_EQ(raw(1, "Profilename"), "one") << "keys stay until a compaction";
    int32_t base = 0;
    EXPECT_EQ(compact(base), (std::vector<Row>{{2, "two", 1}, {3, "three", 1}, {4, "four", 1}}));
    EXPECT_EQ(base, 1);
    EXPECT_EQ(raw(1, "Profilename"), "two");
    // profileSlotBase + 1 is slot 2, which the compaction just filled.
    EXPECT_EQ(store.newProfileSection(base), "Profile_index_4");
    EXPECT_EQ(store.FindProfileSection("four"), "Profile_index_3");
}

TEST_F(ProfileStoreTest, RemovingTheLastProfileResetsTheStore) {
    const std::string delivered = readFile((sourceTree() / "resources/run/b.cba").string());
    addProfile(1, "only");
    store.writeOnLink(sampleRecord("only"));

    // Without the reset file the removal is still recorded; nothing else changes but the
    // removed profile's secrets.
    const std::string before = readFile("S.CBA");
    store.RemoveProfile("only");
    EXPECT_EQ(raw(1, "true_false"), "0");
    EXPECT_EQ(store.ReadOnLink().SSID, "net-only");
    std::string expected = before;
    expected.replace(expected.find("true_false=1"), 12, "true_false=0");
    for (const char* key : {"WEP key1=", "WEP key2=", "WEP key3=", "WEP key4=", "WPAPassPhase=",
                            "CertificateHash=", "CertificateName=", "DomainName=", "LoginName="}) {
        const std::size_t at = expected.find(key);
        ASSERT_NE(at, std::string::npos) << key;
        const std::size_t value = at + std::string(key).size();
        expected.erase(value, expected.find('\n', value) - value);
    }
    EXPECT_EQ(readFile("S.CBA"), expected);

    store.setSlotState("Profile_index_1", ProfileStore::SlotState::Live);
    writeFile("b.cba", delivered);
    store.RemoveProfile("only");
    EXPECT_EQ(readFile("S.CBA"), delivered);
    EXPECT_EQ(modeOf("S.CBA"), 0600u);
    EXPECT_EQ(store.ReadOnLink(), OnLinkRecord{});
    int32_t base = 0;
    EXPECT_TRUE(compact(base).empty());
    store.WriteProfile(store.newProfileSection(base), sampleRecord("again"));
    EXPECT_EQ(store.FindProfileSection("again"), "Profile_index_2");
}

TEST_F(ProfileStoreTest, RemovingOneOfTwo) {
    addProfile(1, "first");
    addProfile(2, "second");
    writeFile("b.cba", "");
    store.RemoveProfile("first");
    EXPECT_EQ(raw(1, "true_false"), "0");
    // The slot keeps its values until a compaction, but not its secrets.
    ProfileRecord kept = sampleRecord("first", 1);
    for (int i = 0; i < 4; ++i) {
        kept.wepKey(i).clear();
    }
    kept.WPAPassPhase.clear();
    kept.CertificateHash.clear();
    kept.CertificateName.clear();
    kept.DomainName.clear();
    kept.LoginName.clear();
    EXPECT_EQ(store.ReadProfile("Profile_index_1"), kept);
    EXPECT_EQ(raw(2, "WPAPassPhase"), EncodeStoredText(std::string(63, 'p'))) << "only the removed one";
    int32_t base = 0;
    EXPECT_EQ(compact(base), (std::vector<Row>{{2, "second", 1}}));
    EXPECT_EQ(store.ReadProfile("Profile_index_1"), sampleRecord("second", 2));
    EXPECT_EQ(raw(2, "true_false"), "");
}

TEST_F(ProfileStoreTest, LiveProfileInSlotZeroIsRenumbered) {
    addProfile(0, "zero");
    addProfile(1, "one");
    addProfile(2, "two");
    addProfile(3, "removed", "0");
    addProfile(5, "five");
    int32_t base = 0;
    EXPECT_EQ(compact(base),
              (std::vector<Row>{{0, "zero", 1}, {1, "one", 1}, {2, "two", 1}, {5, "five", 1}}));
    EXPECT_EQ(base, 4);
    const std::tuple<int, const char*, int> expected[] = {
        {1, "zero", 0}, {2, "one", 1}, {3, "two", 2}, {4, "five", 5}};
    for (const auto& [slot, name, seed] : expected) {
        EXPECT_EQ(store.ReadProfile(ProfileStore::slotSection(slot)), sampleRecord(name, seed)) << slot;
    }
    EXPECT_EQ(raw(0, "Profilename"), "");
    EXPECT_EQ(raw(5, "Profilename"), "");
    EXPECT_EQ(store.newProfileSection(base), "Profile_index_5");
}

TEST_F(ProfileStoreTest, ProfilesBeyondSlot99) {
    // 101 live profiles: the two last sit beyond the name searches but stay listed.
    {
        auto batch = store.beginBatch();
        for (int slot = 1; slot <= 101; ++slot) {
            batch.WriteProfile(ProfileStore::slotSection(slot),
                               sampleRecord("p" + std::to_string(slot), slot));
            batch.setSlotState(ProfileStore::slotSection(slot), ProfileStore::SlotState::Live);
        }
        ASSERT_TRUE(batch.commit());
    }
    addProfile(150, "far");
    int32_t base = 0;
    const auto rows = compact(base);
    ASSERT_EQ(rows.size(), 102u);
    EXPECT_EQ(rows.back(), (Row{150, "far", 1}));
    EXPECT_EQ(raw(102, "Profilename"), "far");
    EXPECT_EQ(store.FindProfileSection("p99"), "Profile_index_99");
    EXPECT_EQ(store.FindProfileSection("p100"), std::nullopt);
    EXPECT_EQ(store.newProfileSection(base), "Profile_index_104");

    // A live profile that only compaction reaches still keeps the store from being reset.
    {
        auto batch = store.beginBatch();
        for (int slot = 2; slot <= 101; ++slot) {
            batch.setSlotState(ProfileStore::slotSection(slot), ProfileStore::SlotState::Removed);
        }
        ASSERT_TRUE(batch.commit());
    }
    writeFile("b.cba", "");
    store.RemoveProfile("p1");
    EXPECT_EQ(raw(102, "Profilename"), "far");
}

TEST_F(ProfileStoreTest, HandEditsShowAtTheNextRead) {
    addProfile(1, "one");
    EXPECT_EQ(store.ReadProfile("Profile_index_1").Channel, 1);
    std::string text = readFile("S.CBA");
    text.replace(text.find("Channel=1"), 9, "Channel=7");
    writeFile("S.CBA", text);
    EXPECT_EQ(store.ReadProfile("Profile_index_1").Channel, 7);
}

TEST_F(ProfileStoreTest, CutValuesNeverDecodeIntoAStrayByte) {
    // 50 plain bytes are 100 stored characters; the 100-byte buffer keeps 99 of them.
    writeFile("S.cba", "[on_link]\nSSID=" + EncodeStoredText(std::string(50, 'x')) + "\n");
    EXPECT_EQ(store.ReadOnLink().SSID, std::string(49, 'x'));
}

// Which slot a name refers to, for the profile list's lookups and for saving: one name whatever
// its letter case, live profiles before removed ones, the exact spelling before another.
TEST_F(ProfileStoreTest, NamesReferToOneSlot) {
    struct Slot {
        int slot;
        const char* name;
        const char* state;
    };
    struct Case {
        const char* what;
        std::vector<Slot> slots;
        const char* name;
        std::optional<std::string> found; // FindProfileSection
        std::optional<std::string> saved; // saveSection with profileSlotBase 3
    };
    const Case cases[] = {
        {"exact", {{1, "Home", "1"}}, "Home", "Profile_index_1", "Profile_index_1"},
        {"other letter case", {{1, "Home", "1"}}, "hOME", "Profile_index_1", "Profile_index_1"},
        {"a new name", {{1, "Home", "1"}}, "Hom", std::nullopt, "Profile_index_4"},
        {"the empty name", {{1, "Home", "1"}, {2, "", "1"}}, "", std::nullopt, "Profile_index_4"},
        {"live before removed", {{1, "X", "0"}, {3, "X", "1"}}, "X", "Profile_index_3", "Profile_index_3"},
        {"live in other case before removed",
         {{1, "X", "0"}, {3, "x", "1"}},
         "X",
         "Profile_index_3",
         "Profile_index_3"},
        {"exact before other case",
         {{1, "x", "1"}, {2, "X", "1"}},
         "X",
         "Profile_index_2",
         "Profile_index_2"},
        {"first of two exact",
         {{5, "dup", "1"}, {2, "dup", "1"}},
         "dup",
         "Profile_index_2",
         "Profile_index_2"},
        {"a removed profile is revived", {{7, "old", "0"}}, "OLD", "Profile_index_7", "Profile_index_7"},
        {"removed: exact first", {{2, "x", "0"}, {4, "X", ""}}, "X", "Profile_index_4", "Profile_index_4"},
        {"new slot skips live ones", {{4, "a", "1"}, {5, "b", "1"}}, "c", std::nullopt, "Profile_index_6"},
        {"beyond the searches", {{100, "far", "1"}}, "far", std::nullopt, "Profile_index_4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::unlink("S.CBA");
        for (const Slot& s : c.slots) {
            addProfile(s.slot, s.name, s.state);
        }
        EXPECT_EQ(store.FindProfileSection(c.name), c.found);
        EXPECT_EQ(store.saveSection(c.name, 3), c.saved);
    }
}

TEST_F(ProfileStoreTest, SavingAProfileWithOnLink) {
    addProfile(1, "one");
    addProfile(2, "two");
    const ProfileStore::Values profile = {{"Profilename", "TWO"}, {"true_false", "1"}, {"Channel", "9"}};
    const ProfileStore::Values onLink = {{"Profilename", "TWO"}, {"Channel", "9"}, {"PreambleMode", "1"}};
    const ProfileStore::SaveResult saved = store.saveProfile("TWO", 3, profile, onLink);
    EXPECT_EQ(saved.status, ProfileStore::SaveStatus::Saved);
    EXPECT_EQ(saved.section, "Profile_index_2") << "the same profile in another letter case";
    EXPECT_EQ(raw(2, "Profilename"), "TWO");
    EXPECT_EQ(raw(2, "Channel"), "9");
    EXPECT_EQ(raw(2, "SSID"), EncodeStoredText("net-two")) << "keys not written stay";
    EXPECT_EQ(platform::IniTransaction("S.cba").find("on_link", "PreambleMode").value_or(""), "1");
    EXPECT_EQ(store.ReadOnLink().Channel, 9);

    EXPECT_EQ(store.saveProfile("three", 3, {{"Profilename", "three"}}, {}).section, "Profile_index_4");
}

TEST_F(ProfileStoreTest, SavingIntoAFullStoreIsRefused) {
    {
        auto batch = store.beginBatch();
        for (int slot = 1; slot <= 99; ++slot) {
            batch.WriteProfile(ProfileStore::slotSection(slot),
                               sampleRecord("p" + std::to_string(slot), slot));
            batch.setSlotState(ProfileStore::slotSection(slot), ProfileStore::SlotState::Live);
        }
        ASSERT_TRUE(batch.commit());
    }
    const std::string before = readFile("S.CBA");
    EXPECT_EQ(store.saveSection("p100", 99), std::nullopt);
    const ProfileStore::SaveResult result =
        store.saveProfile("p100", 99, {{"Profilename", "p100"}, {"true_false", "1"}}, {{"Channel", "1"}});
    EXPECT_EQ(result.status, ProfileStore::SaveStatus::NoSlot);
    EXPECT_EQ(readFile("S.CBA"), before) << "not even on_link is written";
    EXPECT_EQ(store.saveProfile("P50", 99, {{"Channel", "3"}}, {}).section, "Profile_index_50");
}

TEST_F(ProfileStoreTest, WritesThatFailSayWhyAndChangeNothing) {
    addProfile(1, "one");
    addProfile(2, "two");
    const std::string before = readFile("S.CBA");
    ASSERT_EQ(::chmod(".", 0500), 0);
    {
        const StrictPermissions strict;
        const ProfileStore::SaveResult saved =
            store.saveProfile("one", 3, {{"Channel", "5"}}, {{"Channel", "5"}});
        EXPECT_EQ(saved.status, ProfileStore::SaveStatus::NotWritten);
        // Each failure carries its own reason: the file and the system's words.
        const platform::WriteResult removed = store.RemoveProfile("one");
        const platform::WriteResult exchanged =
            store.exchangeProfileSections("Profile_index_1", "Profile_index_2");
        EXPECT_FALSE(removed);
        EXPECT_FALSE(exchanged);
        for (const std::string& reason : {saved.failure, removed.reason(), exchanged.reason()}) {
            EXPECT_NE(reason.find("S.CBA"), std::string::npos) << reason;
            EXPECT_NE(reason.find("Permission denied"), std::string::npos) << reason;
        }
    }
    ASSERT_EQ(::chmod(".", 0700), 0);
    EXPECT_EQ(readFile("S.CBA"), before);
    EXPECT_TRUE(store.RemoveProfile(""));
    EXPECT_EQ(readFile("S.CBA"), before) << "an empty name marks no free slot";
}

TEST_F(ProfileStoreTest, ExchangingTwoProfiles) {
    addProfile(1, "one");
    addProfile(2, "two");
    addProfile(3, "removed", "0");
    // Values as stored, whole, even beyond what a read keeps; a key only one slot has goes over
    // as an empty value.
    const std::string longStored = EncodeStoredText(std::string(126, 'q'));
    {
        auto batch = store.beginBatch();
        batch.set("Profile_index_1", "WPAPassPhase", longStored);
        batch.set("Profile_index_2", "Unknown", "kept");
        ASSERT_TRUE(batch.commit());
    }
    const std::string txRate1 = raw(1, "TxRate");
    ASSERT_TRUE(store.exchangeProfileSections("Profile_index_1", "Profile_index_2"));
    EXPECT_EQ(store.ReadProfile("Profile_index_1"), sampleRecord("two", 2));
    EXPECT_EQ(raw(2, "WPAPassPhase"), longStored);
    EXPECT_EQ(raw(2, "TxRate"), txRate1);
    EXPECT_EQ(raw(1, "true_false"), "1");
    EXPECT_EQ(raw(2, "true_false"), "1");
    EXPECT_EQ(raw(2, "Unknown"), "kept") << "only profile keys move";

    ASSERT_TRUE(store.exchangeProfileSections("Profile_index_2", "Profile_index_3"));
    EXPECT_EQ(raw(2, "Profilename"), "removed");
    EXPECT_EQ(raw(2, "true_false"), "1") << "each slot keeps its state";
    EXPECT_EQ(raw(3, "true_false"), "0");

    const std::string before = readFile("S.CBA");
    ASSERT_TRUE(store.exchangeProfileSections("Profile_index_1", "profile_index_1"));
    EXPECT_EQ(readFile("S.CBA"), before);
}
