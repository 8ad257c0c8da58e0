#pragma once
// Scans of a configuration document pass over the sections whose text the XML reader
// takes as written: comments, CDATA sections, processing instructions, the document type.
#include <cstddef>
#include <string_view>

// Length of the verbatim section that starts text (to the end of text when it is never
// closed); 0 when none starts there.
std::size_t VerbatimSectionLength(std::wstring_view text);
