#pragma once
// The property-tree XML reader descends one call level per element level, in parsing, in
// building the tree and in destroying it, so a document nested deeply enough (a few
// hundred kilobytes of "<a>") overflows the stack. Configurations nest a few levels.
#include <cstddef>
#include <string_view>

inline constexpr std::size_t kMaximumElementNesting = 256;

// True when elements open inside one another more than limit levels deep. Sections the
// reader takes verbatim are passed over; a tag is read to its '>' outside quoted values.
bool NestsDeeperThan(std::wstring_view xml, std::size_t limit);
