#pragma once
#include <cstdint>
#include <string>

// The system's text for an error code without a trailing line break, or
// "Unknown error 0x..." (upper-case hexadecimal) when the system has none.
std::wstring SystemErrorText(std::uint32_t code);
