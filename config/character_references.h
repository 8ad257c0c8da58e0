#pragma once
// The property-tree XML reader stores a numeric character reference above U+007F as its
// UTF-8 bytes, one byte per wide character, which garbles the text. Resolving those
// references before the reader runs keeps every text right.
#include <string>

// Replaces each numeric character reference to a character above U+007F in character data
// and attribute values by the character; comments, CDATA sections, processing instructions
// and the document type stay as written, and so do references to ASCII characters (markup
// such as "&#60;" is the reader's). False when a reference names no character (a surrogate
// or a value past U+10FFFF): such a document is not well-formed.
bool ResolveCharacterReferences(std::wstring& xml);
