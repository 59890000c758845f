// What the shared library offers its users. The library is built with hidden visibility, so
// only declarations marked LABARC_API are exported; everything else stays inside it.
//
// The framework's classes and functions live in the inline namespace labarc_framework: a host
// still writes CString or CArchive, but the library's symbols are labarc_framework::CString and
// so on, and cannot be mistaken at link or load time for those of another library that uses the
// same framework names.
#pragma once

#if defined(_WIN32) && defined(LABARC_SHARED)
#ifdef LABARC_BUILDING
#define LABARC_API __declspec(dllexport)
#else
#define LABARC_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define LABARC_API __attribute__((visibility("default")))
#else
#define LABARC_API
#endif

// On a private member function of an exported class: it stays inside the library, like every
// unmarked function. Not for members that inline functions in a public header call.
#if defined(__GNUC__) && !defined(_WIN32)
#define LABARC_LOCAL __attribute__((visibility("hidden")))
#else
#define LABARC_LOCAL
#endif
