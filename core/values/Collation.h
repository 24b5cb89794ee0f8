// The one text collation of the system: Windows-1252 strings are compared as people sort words, the
// same on every machine. Record-table orders, unique keys, string arrays and coded texts rely on it.
// Levels: letters without accent or case first, then accents, then case (lower before upper).
// Two sorts: the string sort weighs every character; the word sort passes over hyphens and
// apostrophes ("co-op" sorts with "coop", after "cooa") and looks at them only between texts that
// are otherwise equal.
#pragma once

#include <cstdint>
#include <string_view>

namespace Collation {

enum class SortMode { kString, kWord };

// -1, 0 or 1 as `a` sorts before, with or after `b`. With ignoreCase, strings that differ only by
// the case of their letters are equal. Without it, only identical strings are equal.
int Compare(std::string_view a, std::string_view b, bool ignoreCase, SortMode mode = SortMode::kString);

// The same order for UTF-16 texts: a character that Windows-1252 has sorts as its byte does; any
// other sorts after the 1252 letters by its case-folded code point, with the same case rule.
int CompareWide(std::u16string_view a, std::u16string_view b, bool ignoreCase, SortMode mode);

// An 8-byte sort prefix of a string: its first eight primary weights, most significant first, zero
// padded. When the prefixes of two strings differ, Compare (with or without case) orders the
// strings as the prefixes; equal prefixes tell nothing.
uint64_t PrimaryPrefix(std::string_view s);

}  // namespace Collation
