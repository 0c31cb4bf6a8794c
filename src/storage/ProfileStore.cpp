#include "storage/ProfileStore.h"

#include "platform/PrivateProfile.h"
#include "storage/StoredText.h"

#include <cstdio>

using platform::IniTransaction;

namespace {

constexpr std::size_t kShortBuffer = 100; // most values: at most 99 characters
constexpr std::size_t kLongBuffer = 254;  // passphrase and certificate data: at most 253
constexpr char kOnLink[] = "on_link";
constexpr char kSlotState[] = "true_false";
// The slot states as "true_false" stores them; any other text (empty for a free slot) is neither.
constexpr char kLiveSlot[] = "1";
constexpr char kRemovedSlot[] = "0";

const char* storedSlotState(ProfileStore::SlotState state) {
    return state == ProfileStore::SlotState::Live ? kLiveSlot : kRemovedSlot;
}

// The keys of a profile section in the order a move handles them.
const std::vector<std::string>& profileKeys() {
    static const std::vector<std::string> keys = {
        "Profilename",
        "SSID",
        "true_false",
        "bsstype",
        "adhocband",
        "Channel",
        "TxRate",
        "PowerMode",
        "Auth Mode",
        "Encryation Mode",
        "Radio1",
        "Radio2",
        "Radio3",
        "Radio4",
        "Key Length1",
        "Key Length2",
        "Key Length3",
        "Key Length4",
        "Key Format",
        "WEP key1",
        "WEP key2",
        "WEP key3",
        "WEP key4",
        "WPAPassPhase",
        "CertificateHash",
        "CertificateName",
        "DomainName",
        "LoginName",
        "11b",
        "11g",
        "11gt",
        "11a",
        "11at",
        "XR Extended Range",
    };
    return keys;
}

std::string indexed(const char* prefix, int i) {
    return prefix + std::to_string(i + 1);
}

// The keys of a profile that hold its secrets and the certificate it identifies the user with:
// a removed profile's slot keeps its other values, but not these (the scrambling hides nothing).
const std::vector<std::string>& secretKeys() {
    static const std::vector<std::string> keys = {
        "WEP key1",        "WEP key2",        "WEP key3",   "WEP key4",  "WPAPassPhase",
        "CertificateHash", "CertificateName", "DomainName", "LoginName",
    };
    return keys;
}

int32_t number(const IniTransaction& file, const std::string& section, const std::string& key) {
    return platform::leadingNumber(file.readString(section, key, "", kShortBuffer));
}

// A scrambled value read into a buffer of bufferSize. When the buffer cuts the value, a
// half pair left at the end is dropped rather than decoded into a stray byte.
std::string scrambled(const IniTransaction& file, const std::string& section, const std::string& key,
                      std::size_t bufferSize) {
    std::string stored = file.find(section, key).value_or("");
    if (stored.size() > bufferSize - 1) {
        stored.resize(bufferSize - 1);
        stored.resize(stored.size() & ~std::size_t{1});
    }
    return DecodeStoredText(stored);
}

// The security keys that a profile section and "on_link" share.
void readSecurity(const IniTransaction& file, const std::string& section, SecurityFields& r) {
    for (int i = 0; i < 4; ++i) {
        r.wepKey(i) = scrambled(file, section, indexed("WEP key", i), kShortBuffer);
        r.keyLength(i) = number(file, section, indexed("Key Length", i));
        r.radio(i) = number(file, section, indexed("Radio", i));
    }
    r.KeyFormat = number(file, section, "Key Format");
    r.WPAPassPhase = scrambled(file, section, "WPAPassPhase", kLongBuffer);
    r.CertificateHash = scrambled(file, section, "CertificateHash", kLongBuffer);
    r.CertificateName = scrambled(file, section, "CertificateName", kLongBuffer);
    r.DomainName = scrambled(file, section, "DomainName", kLongBuffer);
    r.LoginName = scrambled(file, section, "LoginName", kLongBuffer);
}

bool isLive(const IniTransaction& file, int slot) {
    const std::string section = ProfileStore::slotSection(slot);
    return !file.readString(section, "Profilename", "", kShortBuffer).empty() &&
           file.readString(section, kSlotState, "", kShortBuffer) == kLiveSlot;
}

// The slot a name refers to among slots 0..99, -1 for none: live before removed, the exact
// spelling before another letter case, the first slot within each.
int slotOfName(const IniTransaction& file, const std::string& name) {
    if (name.empty()) {
        return -1;
    }
    const std::string folded = platform::foldName(name);
    int best = -1;
    int bestRank = 4;
    for (int n = 0; n < ProfileStore::searchedSlots && bestRank > 0; ++n) {
        const std::string stored =
            file.readString(ProfileStore::slotSection(n), "Profilename", "", kShortBuffer);
        if (stored.empty() || platform::foldName(stored) != folded) {
            continue;
        }
        const int rank = (isLive(file, n) ? 0 : 2) + (stored == name ? 0 : 1);
        if (rank < bestRank) {
            best = n;
            bestRank = rank;
        }
    }
    return best;
}

int newSlot(const IniTransaction& file, int32_t profileSlotBase) {
    int slot = profileSlotBase < 0 ? 1 : profileSlotBase + 1;
    slot = slot < 1 ? 1 : slot;
    while (isLive(file, slot)) {
        ++slot;
    }
    return slot;
}

int saveSlot(const IniTransaction& file, const std::string& name, int32_t profileSlotBase) {
    const int named = slotOfName(file, name);
    if (named >= 0) {
        return named;
    }
    const int fresh = newSlot(file, profileSlotBase);
    return fresh < ProfileStore::searchedSlots ? fresh : -1;
}

// Every key of a record except the name, in the record's order.
void writeRecordKeys(IniTransaction& file, const std::string& section, const ProfileRecord& r) {
    const auto num = [&](const std::string& key, int32_t value) {
        file.write(section, key, std::to_string(value));
    };
    const auto text = [&](const std::string& key, const std::string& plain) {
        file.write(section, key, EncodeStoredText(plain));
    };
    text("SSID", r.SSID);
    num("bsstype", r.bsstype);
    num("Channel", r.Channel);
    num("PowerMode", r.PowerMode);
    num("Auth Mode", r.AuthListIndex);
    num("Encryation Mode", r.CipherListIndex);
    for (int i = 0; i < 4; ++i) {
        text(indexed("WEP key", i), r.wepKey(i));
    }
    num("Key Format", r.KeyFormat);
    for (int i = 0; i < 4; ++i) {
        num(indexed("Key Length", i), r.keyLength(i));
    }
    for (int i = 0; i < 4; ++i) {
        num(indexed("Radio", i), r.radio(i));
    }
    text("WPAPassPhase", r.WPAPassPhase);
    text("CertificateHash", r.CertificateHash);
    text("CertificateName", r.CertificateName);
    text("DomainName", r.DomainName);
    text("LoginName", r.LoginName);
    num("11b", r.Mode11b);
    num("11g", r.Mode11g);
    num("11gt", r.Mode11gt);
    num("XR Extended Range", r.ModeXR);
    num("adhocband", r.adhocband);
    num("TxRate", r.TxRate);
    num("11a", r.Mode11a);
    num("11at", r.Mode11at);
}

void writeWholeRecord(IniTransaction& file, const std::string& section, const ProfileRecord& r) {
    file.write(section, "Profilename", r.Profilename);
    writeRecordKeys(file, section, r);
}

void moveSection(IniTransaction& file, const std::string& target, const std::string& source) {
    if (platform::foldName(target) == platform::foldName(source)) {
        return;
    }
    for (const std::string& key : profileKeys()) {
        // Whole stored values: a cut here would lose data for good.
        file.write(target, key, file.find(source, key).value_or(""));
        file.write(source, key, "");
    }
}

std::string upperLastComponent(std::string name) {
    const auto separator = name.find_last_of("\\/");
    for (std::size_t i = separator == std::string::npos ? 0 : separator + 1; i < name.size(); ++i) {
        if (name[i] >= 'a' && name[i] <= 'z') {
            name[i] = static_cast<char>(name[i] - 'a' + 'A');
        }
    }
    return name;
}

} // namespace

ProfileStore::ProfileStore(std::string storeName, std::string resetName, std::string settingsName,
                           std::string storeWriteName)
    : m_storeName(std::move(storeName)), m_resetName(std::move(resetName)),
      m_settingsName(std::move(settingsName)),
      m_storeWriteName(storeWriteName.empty() ? upperLastComponent(m_storeName) : std::move(storeWriteName)) {
}

IniTransaction ProfileStore::open() const {
    return IniTransaction(m_storeName, platform::FileAccess::Private, m_storeWriteName);
}

std::string ProfileStore::slotSection(int n) {
    char section[32];
    std::snprintf(section, sizeof section, "Profile_index_%d", n);
    return section;
}

ProfileRecord ProfileStore::ReadProfile(const std::string& section) const {
    const IniTransaction file = open();
    ProfileRecord r;
    const auto num = [&](const std::string& key) { return number(file, section, key); };
    r.Profilename = file.readString(section, "Profilename", "", kShortBuffer);
    r.SSID = scrambled(file, section, "SSID", kShortBuffer);
    r.bsstype = num("bsstype");
    r.Channel = num("Channel");
    r.PowerMode = num("PowerMode");
    r.AuthListIndex = num("Auth Mode");
    r.CipherListIndex = num("Encryation Mode");
    readSecurity(file, section, r);
    r.Mode11b = num("11b");
    r.Mode11g = num("11g");
    r.Mode11gt = num("11gt");
    r.ModeXR = num("XR Extended Range");
    r.adhocband = num("adhocband");
    r.TxRate = num("TxRate");
    r.Mode11a = num("11a");
    r.Mode11at = num("11at");
    return r;
}

void ProfileStore::WriteProfile(const std::string& section, const ProfileRecord& record) {
    Batch batch = beginBatch();
    batch.WriteProfile(section, record);
    batch.commit();
}

std::optional<std::string> ProfileStore::FindProfileSection(const std::string& name) const {
    const int slot = slotOfName(open(), name);
    return slot < 0 ? std::nullopt : std::optional<std::string>(slotSection(slot));
}

void ProfileStore::MoveProfileSection(const std::string& target, const std::string& source) {
    IniTransaction file = open();
    moveSection(file, target, source);
    file.commit();
}

OnLinkRecord ProfileStore::ReadOnLink() const {
    const IniTransaction file = open();
    OnLinkRecord r;
    const auto num = [&](const std::string& key) { return number(file, kOnLink, key); };
    r.SSID = scrambled(file, kOnLink, "SSID", kShortBuffer);
    r.bsstype = num("bsstype");
    r.adhocband = num("adhocband");
    r.Channel = num("Channel");
    r.PowerMode = num("PowerMode");
    r.PreambleMode = num("PreambleMode");
    r.Mode11b = num("11b");
    r.Mode11g = num("11g");
    r.Mode11gt = num("11gt");
    r.Mode11a = num("11a");
    r.Mode11at = num("11at");
    r.ModeXR = num("XR Extended Range");
    r.CipherListIndex = num("Encryation Mode");
    r.AuthListIndex = num("Auth Mode");
    readSecurity(file, kOnLink, r);
    r.AutoWPAWPA2 = platform::readProfileString(m_settingsName, "Setini", "AutoWPAWPA2", "", kShortBuffer);
    return r;
}

void ProfileStore::CompactProfiles(int32_t& profileSlotBase,
                                   const std::function<void(int, const std::string&, int)>& addRow) {
    IniTransaction file = open();
    int next = 1;
    profileSlotBase = 0;
    std::vector<int> live;
    for (int n = 0; n < compactedSlots; ++n) {
        const std::string section = slotSection(n);
        if (isLive(file, n)) {
            live.push_back(n);
        } else if (file.readString(section, kSlotState, "", kShortBuffer) == kRemovedSlot) {
            profileSlotBase = static_cast<int32_t>(live.size()) + 1;
        }
    }
    // Live profiles in slots 0..m-1 each go one slot up; moving the last of them first means
    // each lands on a slot that is free or already moved away.
    std::size_t run = 0;
    while (run < live.size() && live[run] == static_cast<int>(run)) {
        ++run;
    }
    for (std::size_t i = run; i-- > 0;) {
        moveSection(file, slotSection(live[i] + 1), slotSection(live[i]));
    }
    for (std::size_t i = run; i < live.size(); ++i) {
        if (live[i] != static_cast<int>(i) + 1) {
            moveSection(file, slotSection(static_cast<int>(i) + 1), slotSection(live[i]));
        }
    }
    file.commit();
    for (const int slot : live) {
        const std::string target = slotSection(next);
        if (addRow) {
            addRow(slot, file.readString(target, "Profilename", "", kShortBuffer),
                   number(file, target, "bsstype"));
        }
        ++next;
    }
    if (profileSlotBase == 0) {
        profileSlotBase = next;
    }
}

platform::WriteResult ProfileStore::RemoveProfile(const std::string& name) {
    if (name.empty()) {
        return {}; // an empty name is every free slot's: marking them would remove nothing
    }
    IniTransaction file = open();
    for (int n = 0; n < searchedSlots; ++n) {
        const std::string section = slotSection(n);
        if (file.readString(section, "Profilename", "", kShortBuffer) == name) {
            file.write(section, kSlotState, kRemovedSlot);
            for (const std::string& key : secretKeys()) {
                file.write(section, key, "");
            }
        }
    }
    bool anyLive = false;
    for (int n = 0; n < compactedSlots && !anyLive; ++n) {
        anyLive = file.readString(slotSection(n), kSlotState, "", kShortBuffer) == kLiveSlot;
    }
    // Resetting replaces the whole file, so the marks need not be written first; without a
    // reset file the marks are written.
    if (anyLive || !platform::copyProfileFile(m_resetName, file.fileExists() ? file.path() : m_storeWriteName,
                                              platform::FileAccess::Private)) {
        return file.commit();
    }
    return {};
}

platform::WriteResult ProfileStore::exchangeProfileSections(const std::string& first,
                                                            const std::string& second) {
    if (platform::foldName(first) == platform::foldName(second)) {
        return {};
    }
    IniTransaction file = open();
    for (const std::string& key : profileKeys()) {
        if (key == kSlotState) {
            continue;
        }
        const std::string firstValue = file.find(first, key).value_or("");
        file.write(first, key, file.find(second, key).value_or(""));
        file.write(second, key, firstValue);
    }
    return file.commit();
}

std::string ProfileStore::newProfileSection(int32_t profileSlotBase) const {
    return slotSection(newSlot(open(), profileSlotBase));
}

std::optional<std::string> ProfileStore::saveSection(const std::string& name, int32_t profileSlotBase) const {
    const int slot = saveSlot(open(), name, profileSlotBase);
    return slot < 0 ? std::nullopt : std::optional<std::string>(slotSection(slot));
}

ProfileStore::SaveResult ProfileStore::saveProfile(const std::string& name, int32_t profileSlotBase,
                                                   const Values& profileValues, const Values& onLinkValues) {
    // The slot is chosen in the same reading of the file that the writes go into.
    IniTransaction file = open();
    const int slot = saveSlot(file, name, profileSlotBase);
    if (slot < 0) {
        return {SaveStatus::NoSlot, {}, {}};
    }
    const std::string section = slotSection(slot);
    for (const auto& [key, value] : profileValues) {
        file.write(section, key, value);
    }
    for (const auto& [key, value] : onLinkValues) {
        file.write(kOnLink, key, value);
    }
    if (const platform::WriteResult written = file.commit(); !written) {
        return {SaveStatus::NotWritten, {}, written.reason()};
    }
    return {SaveStatus::Saved, section, {}};
}

void ProfileStore::setSlotState(const std::string& section, SlotState state) {
    Batch batch = beginBatch();
    batch.setSlotState(section, state);
    batch.commit();
}

void ProfileStore::writeOnLink(const ProfileRecord& record) {
    Batch batch = beginBatch();
    batch.writeOnLink(record);
    batch.commit();
}

void ProfileStore::writeOnLinkValue(const std::string& key, const std::string& value) {
    writeOnLinkValues({{key, value}});
}

void ProfileStore::writeOnLinkScrambled(const std::string& key, const std::string& plainText) {
    writeOnLinkValues({{key, EncodeStoredText(plainText)}});
}

void ProfileStore::writeOnLinkValues(const std::vector<std::pair<std::string, std::string>>& values) {
    Batch batch = beginBatch();
    for (const auto& [key, value] : values) {
        batch.set(kOnLink, key, value);
    }
    batch.commit();
}

ProfileStore::Batch ProfileStore::beginBatch() {
    return Batch(std::make_unique<IniTransaction>(open()));
}

ProfileStore::Batch::Batch(std::unique_ptr<IniTransaction> file) : m_file(std::move(file)) {}
ProfileStore::Batch::Batch(Batch&&) noexcept = default;
ProfileStore::Batch::~Batch() = default;

void ProfileStore::Batch::set(const std::string& section, const std::string& key, const std::string& value) {
    m_file->write(section, key, value);
}

void ProfileStore::Batch::setScrambled(const std::string& section, const std::string& key,
                                       const std::string& plainText) {
    m_file->write(section, key, EncodeStoredText(plainText));
}

void ProfileStore::Batch::WriteProfile(const std::string& section, const ProfileRecord& record) {
    writeWholeRecord(*m_file, section, record);
}

void ProfileStore::Batch::setSlotState(const std::string& section, SlotState state) {
    m_file->write(section, kSlotState, storedSlotState(state));
}

void ProfileStore::Batch::writeOnLink(const ProfileRecord& record) {
    writeWholeRecord(*m_file, kOnLink, record);
}

platform::WriteResult ProfileStore::Batch::commit() {
    return m_file->commit();
}
