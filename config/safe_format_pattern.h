#pragma once
// Boost.Format (1.74) mishandles two shapes of pattern, and texts are data: a tabulation
// directive whose fill character is '%' ("%T%") makes its parser write past the items it
// allocated, and a number in a directive too long for its int fields overflows, or asks
// for a width of gigabytes. Such patterns are refused before they reach the library.
#include <string_view>

// False when the pattern holds either shape. Walks the directives as the library does; a
// pattern it would reject anyway may be refused here as well.
bool IsSafeFormatPattern(std::wstring_view pattern);
