#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The WEP key and passphrase rules shared by the Encryption page, the profile editor and the
// reconnection: what a key must look like, how a field takes it, and the adapter's form of it.

// Characters a WEP key must have: ASCII 5 (64-bit) or 13 (128-bit), HEX 10 or 26.
// Index 0 is ASCII / 64-bit; any other index counts as HEX / 128-bit, as in the file.
int RequiredKeyLength(int formatIndex, int lengthIndex);

// True when every character is 0-9, A-F or a-f; true for the empty text.
bool IsHexText(const std::string& text);

// The adapter's form of a WEP key, the one conversion every screen and the reconnection use:
// for the ASCII lengths (5, 13) each of the first requiredLength bytes as two upper-case hex
// digits (a validated key has exactly that many; a stored one may have more or fewer); for
// the HEX lengths the text unchanged, letter case kept.
std::string MakeWepKeyValue(const std::string& typed, int requiredLength);

// The key size the adapter is told for a required length: 64 for 5 and 10, otherwise 128.
int WepKeyBits(int requiredLength);

// What the key field should become after a text change.
struct KeyFieldState {
    std::string text;
    int limit;    // 0: leave the field's limit and hex-only flag as they are (empty text)
    bool hexOnly; // meaningful only when limit != 0
};

// The key-field limit rule. An empty text changes nothing: the result has the empty text
// and limit 0, which tells the caller to keep the field's current limit and flag.
// Otherwise hexOnly follows the format, the limit is the required length, and a longer text
// keeps the `limit` characters that begin at its second character.
KeyFieldState ApplyKeyLimit(const std::string& text, int formatIndex, int lengthIndex);

struct KeyFormatCheck {
    bool rejected; // HEX format and a non-hex character: show the message, empty the field
    std::string text;
    bool hexOnly;
};

inline constexpr const char* nonHexKeyMessage = "Key contains characters which are non-hexadecimal.";
inline constexpr const char* nonHexKeyCaption = "Prompt";

KeyFormatCheck CheckKeyFormat(const std::string& text, int formatIndex);

// "The length of key<n> must be <length> characters".
std::string WepKeyLengthMessage(int keyNumber, int requiredLength);

// The check of the default key N before Apply: the message for key N when the typed text has
// not the required length of the format and key N's length choice; nothing when it has.
std::optional<std::string> CheckWepKeyLength(const std::string& typed, int keyNumber, int formatIndex,
                                             int lengthIndex);

// The typing rule of a WEP key field (KeyEdit). Keys are single-byte texts: a character is a
// code from 0 to 255.
inline constexpr char32_t backspaceKey = 8;

// What a key field does with characters typed into it, before they are entered. A pasted text
// counts as its characters typed one after the other. Characters a field can't enter (control
// characters other than backspace, and anything beyond one byte) are dropped first; then, with
// hex-only set, everything but hex digits and backspace is discarded. When anything is left and
// the field is masked, it is emptied and unmasked first, so a stored key is never revealed: the
// first keystroke replaces it.
struct KeyEditEntry {
    bool unmask = false;   // empty the field and remove the mask, then enter
    std::u32string accept; // what is entered, in order; backspace deletes
};
KeyEditEntry KeyEditInput(bool hexOnly, bool masked, std::u32string_view typed);

// A key field's text and mask.
struct KeyEditText {
    std::string text;
    bool masked = false;

    bool operator==(const KeyEditText&) const = default;
};

// The typing rule applied to a field whose cursor stands at the end of its text: backspace
// deletes the last character, others are appended while the text is shorter than the limit
// (0: no limit).
KeyEditText TypeIntoKeyEdit(const KeyEditText& before, bool hexOnly, int limit, std::u32string_view typed);

enum class PassphraseVerdict { Ok, TooShort, NotHex };

inline constexpr const char* passphraseLengthMessage = "The Passphrase must be between 8 and 63 characters.";
inline constexpr const char* passphraseHexMessage = "A Hexidecimal Passphrase must be 64 characters.";

// 8 to 63 characters of any kind, or 64 hex digits. Fewer than 8, and more than 64 (the
// dialog never lets that through, but a caller might), are TooShort: the length message
// applies to both. 64 characters that are not all hex digits are NotHex.
PassphraseVerdict CheckPassphrase(const std::string& passphrase);
