#pragma once
// Readable failures for the forms' small types: gtest finds these printers beside the types.

#include "logic/ProfileForm.h"

#include <ostream>

namespace logic {

inline void PrintTo(const StoredValue& value, std::ostream* out) {
    *out << '"' << value.key << "\"=\"" << value.value << '"';
}

inline void PrintTo(const ChoiceList& list, std::ostream* out) {
    *out << '{';
    for (const std::string& item : list.items) {
        *out << '"' << item << "\" ";
    }
    *out << "selected " << list.selected << (list.enabled ? ", on" : ", off")
         << (list.visible ? "" : ", hidden") << '}';
}

inline void PrintTo(const FormMessage& message, std::ostream* out) {
    *out << '"' << message.text << "\" caption " << static_cast<int>(message.caption);
}

} // namespace logic
