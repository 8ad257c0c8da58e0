#pragma once
// Unsigned attributes of every XML file the system reads are converted alike, the way
// the C library's wcstoul does with base 10, on every platform: leading white space, an
// optional sign, digits up to the first other character; saturation at 4294967295; a
// minus sign negates modulo 2^32; no digits gives 0.
#include <cstdint>
#include <string_view>

std::uint32_t ParseUnsignedDecimal(std::wstring_view text);
