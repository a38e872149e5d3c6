// The library's text code unit, chosen per platform: UTF-16 everywhere, spelled
// wchar_t on Windows (so exported signatures are the usual wide ones) and
// char16_t elsewhere, where wchar_t is four bytes.
#pragma once

#if defined(_WIN32)
using XChar = wchar_t;
#define COLANG_XT_(s) L##s
#else
using XChar = char16_t;
#define COLANG_XT_(s) u##s
#endif

#define COLANG_XT(s) COLANG_XT_(s)
