// The Windows names the plug-in is written against: the SDK headers on Windows,
// the project's stand-in headers of the same names elsewhere. Shared code
// includes this header instead of any platform header of its own.
#pragma once

// windows.h first: the SDK's other headers build on its names.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
// clang-format on
#if __has_include(<msxml6.h>)
#include <msxml6.h>
#else
#include <msxml2.h>
// The version-6 namespace manager class is missing from this toolchain's header.
EXTERN_C const CLSID CLSID_MXNamespaceManager60;
#endif

// Wide string literal in the platform's WCHAR: L"..." on Windows, whose wchar_t
// is 16-bit; u"..." elsewhere, where WCHAR is char16_t.
#ifdef _WIN32
#define W(text) L##text
#else
#define W(text) u##text
#endif
