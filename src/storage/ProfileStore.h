#pragma once

#include "model/ProfileRecords.h"
#include "platform/FileSystem.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class IniTransaction;
}

// The profile file: named profiles in sections "Profile_index_<n>" and the configuration
// chosen last in "on_link". SSIDs, keys, passphrases and certificate data are stored
// scrambled (EncodeStoredText). The file is the state: each operation reads the file as it
// is then, and each operation's writes reach the disk as one atomic replacement, so a crash
// never leaves a profile half-written, half-moved, duplicated or lost. The file is owner-only
// (0600).
//
// Slots: a profile is live when its name is not empty and "true_false" is exactly "1".
// Name searches look at slots 0 to 99; compaction at slots 0 to 199.
//
// The operations the profile file has always had keep their names (ReadProfile, WriteProfile,
// FindProfileSection, MoveProfileSection, ReadOnLink, CompactProfiles, RemoveProfile); the
// others are named as the rest of the program is.
class ProfileStore {
public:
    // storeWriteName: the spelling a new store file gets; empty for storeName with its last
    // component in upper case (".\S.CBA"). File names resolve without regard to case.
    explicit ProfileStore(std::string storeName = ".\\S.cba", std::string resetName = ".\\b.cba",
                          std::string settingsName = ".\\a.cba", std::string storeWriteName = {});

    static std::string slotSection(int n);

    // The state a slot's "true_false" records: "1" for a live profile, "0" for a removed one
    // whose keys stay until a compaction overwrites them.
    enum class SlotState { Live, Removed };
    static constexpr int searchedSlots = 100;  // slots 0..99: name searches
    static constexpr int compactedSlots = 200; // slots 0..199: compaction

    ProfileRecord ReadProfile(const std::string& section) const;
    // Every key of the record; "true_false" is left alone.
    void WriteProfile(const std::string& section, const ProfileRecord& record);
    // The section of the profile a name refers to among slots 0..99; nullopt when the name is
    // not stored. Names that
    // differ only in ASCII letter case are one profile, and a removed profile's slot counts only
    // when no live profile has the name: the first live slot spelled exactly so, else the first
    // live slot spelled otherwise, else the first removed slot of the name (exact first). Only a
    // hand edit puts one name in several slots.
    std::optional<std::string> FindProfileSection(const std::string& name) const;
    // Copies each profile key from source to target as stored, and empties it in source.
    // Moving a section onto itself changes nothing.
    void MoveProfileSection(const std::string& target, const std::string& source);
    OnLinkRecord ReadOnLink() const;

    // Moves the live profiles of slots 0..199 to slots 1..K in order and hands each to
    // addRow (scan position, name, "bsstype" from its new slot). Sets profileSlotBase.
    // A live profile in slot 0 (only a hand edit puts one there) and the live profiles
    // right after it are shifted up by one, last first, so no live profile is overwritten.
    void CompactProfiles(int32_t& profileSlotBase,
                         const std::function<void(int row, const std::string& name, int bsstype)>& addRow);

    // Marks every slot 0..99 named exactly name as removed ("true_false" "0") and blanks its
    // secrets (WEP keys, passphrase, certificate, domain and login names). When no live
    // profile is left in slots 0..199, the store is replaced by the reset file instead (a
    // missing reset file leaves the marked store). A failure when nothing reached the disk.
    platform::WriteResult RemoveProfile(const std::string& name);

    // Exchanges the stored profiles of two slots, every key as stored except "true_false" (both
    // slots keep their state), in one replacement. A failure when it did not reach the disk.
    platform::WriteResult exchangeProfileSections(const std::string& first, const std::string& second);

    // The slot for saving under a new name: the first slot from profileSlotBase + 1 (at least
    // slot 1) that holds no live profile.
    std::string newProfileSection(int32_t profileSlotBase) const;

    // Where a profile saved under name goes: the slot the name refers to (FindProfileSection),
    // else newProfileSection(profileSlotBase); nullopt when that slot lies beyond the name
    // searches (slots 1..99 all hold live profiles), where the name could not be found again.
    std::optional<std::string> saveSection(const std::string& name, int32_t profileSlotBase) const;

    using Values = std::vector<std::pair<std::string, std::string>>; // key, stored text
    enum class SaveStatus { Saved, NoSlot, NotWritten };
    struct SaveResult {
        SaveStatus status;
        std::string section; // the profile's section when saved
        std::string failure; // NotWritten: why
    };
    // Saves a profile and the configuration chosen with it as one replacement: profileValues
    // into the section saveSection chooses (the values name the profile and mark it live
    // themselves) and onLinkValues into "on_link". Either all of it reaches the disk or nothing.
    SaveResult saveProfile(const std::string& name, int32_t profileSlotBase, const Values& profileValues,
                           const Values& onLinkValues);

    void setSlotState(const std::string& section, SlotState state);
    // Every key of the record into "on_link", "Profilename" included.
    void writeOnLink(const ProfileRecord& record);
    void writeOnLinkValue(const std::string& key, const std::string& value);
    void writeOnLinkScrambled(const std::string& key, const std::string& plainText);
    // Several "on_link" values (already in stored form) in one replacement.
    void writeOnLinkValues(const std::vector<std::pair<std::string, std::string>>& values);

    // Writes collected from several calls, committed as one replacement of the file
    // (for example a profile, its slot state and "on_link" saved together).
    class Batch {
    public:
        ~Batch();
        Batch(Batch&&) noexcept;
        void set(const std::string& section, const std::string& key, const std::string& value);
        void setScrambled(const std::string& section, const std::string& key, const std::string& plainText);
        void WriteProfile(const std::string& section, const ProfileRecord& record);
        void setSlotState(const std::string& section, SlotState state);
        void writeOnLink(const ProfileRecord& record);
        // Written when the writes reached the disk (or there were none).
        platform::WriteResult commit();

    private:
        friend class ProfileStore;
        explicit Batch(std::unique_ptr<platform::IniTransaction> file);
        std::unique_ptr<platform::IniTransaction> m_file;
    };
    Batch beginBatch();

private:
    platform::IniTransaction open() const;

    std::string m_storeName;
    std::string m_resetName;
    std::string m_settingsName;
    std::string m_storeWriteName;
};
