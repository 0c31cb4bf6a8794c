#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The controls of the forms without their windows: a form's state is made of these, a view shows
// them as they are, and the form's rules are the only ones that change them.
namespace logic {

// English text in, shown text out; empty: the English text.
using TextLookup = std::function<std::string(const std::string&)>;

// A drop-down list: its items, the selected position (-1: none), and whether it is usable.
struct ChoiceList {
    std::vector<std::string> items;
    int selected = -1;
    bool enabled = true;
    bool visible = true;
    bool operator==(const ChoiceList&) const = default;

    bool holds(int position) const {
        return position >= 0 && static_cast<std::size_t>(position) < items.size();
    }
    // What the program sets: a position the list lacks leaves it without a selection.
    void set(int position) { selected = holds(position) ? position : -1; }
    // What the user picks: only from a usable list, and only what it holds.
    bool pick(int position) {
        if (!enabled || !visible || !holds(position)) {
            return false;
        }
        selected = position;
        return true;
    }
};

struct CheckBox {
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    bool operator==(const CheckBox&) const = default;
};

// A WEP key field. The text is the key as typed, also while the field shows it masked.
struct KeyField {
    std::string text;
    bool enabled = true;
    bool masked = false;  // shown as "*"; the first keystroke replaces the whole text
    bool hexOnly = false; // only hexadecimal digits can be typed
    int limit = 0;        // characters that can be typed; 0: none set yet
    bool operator==(const KeyField&) const = default;
};

enum class MessageCaption { ApplicationName, Prompt };
enum class MessageIcon { None, Information };
// Every message has only an OK button.
struct FormMessage {
    std::string text;
    MessageCaption caption;
    MessageIcon icon = MessageIcon::None;
    bool operator==(const FormMessage&) const = default;
};

// One key and the text stored for it.
struct StoredValue {
    std::string key;
    std::string value;
    bool operator==(const StoredValue&) const = default;
};

} // namespace logic
