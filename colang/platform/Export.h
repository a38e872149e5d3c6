// The one export macro. COLANG_BUILD is set while the library itself is compiled,
// COLANG_STATIC by consumers that link its objects directly (the tests).
#pragma once

#if defined(COLANG_STATIC)
#define COLANG_API
#elif defined(_WIN32)
#if defined(COLANG_BUILD)
#define COLANG_API __declspec(dllexport)
#else
#define COLANG_API __declspec(dllimport)
#endif
#else
#define COLANG_API __attribute__((visibility("default")))
#endif
