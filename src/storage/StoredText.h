#pragma once

#include <cstddef>
#include <string>

// The scrambling of secrets and SSIDs in the profile file. It hides them from a glance, not from
// anyone who reads this header: the file's owner-only mode is what protects them.

// Longest plain text EncodeStoredText keeps: the stored form has two characters per byte and
// the file's value limit is 255 characters. Longer texts are cut to their first 127 bytes,
// so the stored form never exceeds what a reader will take back.
inline constexpr std::size_t maxStoredPlainBytes = 127;

// Scrambles a text for the profile file: each byte as two upper-case hex digits, each digit
// then complemented (255 - code), so "abc" becomes C9 CE C9 CD C9 CC.
std::string EncodeStoredText(const std::string& plain);

// Reverses EncodeStoredText: complement, then pairs of characters read as base-16 numbers by
// their leading hex digits (a pair without one gives 0); a last unpaired character is read alone.
std::string DecodeStoredText(const std::string& stored);
