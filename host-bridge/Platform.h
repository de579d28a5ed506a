// The one place where the Windows x64 target and the Linux stand-in build differ.
// On Windows the engine's 16-bit characters are wchar_t and the C runtime supplies the text and
// time functions; on Linux wchar_t is 32-bit, so the engine's text is char16_t and
// PlatformPosix.cpp supplies the same operations.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ios>
#include <iosfwd>
#include <string>
#include <vector>

#if defined(_WIN32)
using WideChar = wchar_t;
#define QV_WIDE(text) L##text
#define QV_EXPORT __declspec(dllexport)
#if defined(QV_BUILDING_HOST)
#define HOSTAPI __declspec(dllexport)
#elif defined(QV_HOST_LINKED_IN)
// The host is part of the program (the config checker's): its functions are called directly.
#define HOSTAPI
#else
#define HOSTAPI __declspec(dllimport)
#endif
// The system loader finds DllMain by itself; it is not exported.
#define QV_ENTRY_POINT extern "C" int __stdcall
#else
using WideChar = char16_t;
#define QV_WIDE(text) u##text
#define QV_EXPORT __attribute__((visibility("default")))
#define HOSTAPI __attribute__((visibility("default")))
// The stand-in loader finds DllMain among the library's exports.
#define QV_ENTRY_POINT extern "C" __attribute__((visibility("default"))) int
#endif

// Owned 16-bit engine text; the element type of the host's UTF-8 conversions.
using WideString = std::basic_string<WideChar>;

namespace Platform {

// Upper-case form of one character, as the runtime's towupper in the current locale.
WideChar ToUpper(WideChar c);

// Compares at most `count` characters ignoring case, as the runtime's _wcsnicmp: 0 when equal.
int CompareNoCase(const WideChar* a, const WideChar* b, std::size_t count);

// First occurrence of `pattern` in `text`, as the runtime's wcsstr; null when there is none.
const WideChar* FindText(const WideChar* text, const WideChar* pattern);

// Length of 0-terminated text, as wcslen.
std::size_t TextLength(const WideChar* text);

// Whole seconds since 1970-01-01 00:00 UTC, as the runtime's _time64(nullptr).
int64_t CurrentTime64();

// `pattern` run through fmt's wide formatting with no arguments ("{{" -> "{");
// throws fmt::format_error for a stray brace or a replacement field.
WideString FormatWide(const WideString& pattern);

// Opens `file` for reading the file at `path`, UTF-8 text as the host's texts are. The path is
// tried as written; on Windows, where a narrow path is read in the system's code page, a path
// that then fails to open and holds more than ASCII is tried again as the same UTF-8 text in
// UTF-16, so that a server under a directory named in any script is found. `file.is_open()` tells
// whether either worked.
void OpenForReading(std::ifstream& file, const std::string& path,
                    std::ios_base::openmode mode = std::ios_base::in);

// Keeps the library that holds this code mapped until the process ends, however often it is
// unloaded from now on: for a library whose code the host may still call, or whose handlers the
// host still holds and will destroy, after its unload. False when the system would not.
bool KeepThisLibraryLoaded();

// `path` written with the system's own separator: on Windows, where both the slash and the
// backslash separate and no name holds either, each slash becomes a backslash, so that a directory
// the system names and a part appended to it do not mix the two; elsewhere `path` unchanged.
inline std::string NativeSeparators(std::string path) {
#if defined(_WIN32)
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

#if defined(_WIN32)
// `text` as UTF-16; empty when it is not well-formed UTF-8.
std::wstring WideFromUtf8(const std::string& text);

// 0-terminated UTF-16 `text` as UTF-8.
std::string Utf8FromWide(const wchar_t* text);

// The arguments wmain receives, as UTF-8 text in the form main takes them: a program started
// with a directory or a name in any script gets it whole, which the code page of main's narrow
// arguments cannot promise.
class Utf8Arguments {
 public:
  Utf8Arguments(int argc, wchar_t** argv);
  int Count() const { return static_cast<int>(texts_.size()); }
  char** Values() { return pointers_.data(); }

 private:
  std::vector<std::string> texts_;
  std::vector<char*> pointers_;
};
#endif

}  // namespace Platform

// Defines the program's entry point as `run(argc, argv)` with the arguments as UTF-8 text. On
// Windows it is wmain (link the program with -municode), so that a directory or a name in any
// script arrives whole. Used at file scope, with a semicolon after it.
#if defined(_WIN32)
#define QV_MAIN_WITH_UTF8_ARGUMENTS(run)               \
  int wmain(int argc, wchar_t** argv) {                \
    Platform::Utf8Arguments arguments(argc, argv);     \
    return run(arguments.Count(), arguments.Values()); \
  }                                                    \
  int wmain(int, wchar_t**)
#else
#define QV_MAIN_WITH_UTF8_ARGUMENTS(run) \
  int main(int argc, char** argv) {      \
    return run(argc, argv);              \
  }                                      \
  int main(int, char**)
#endif

#if !defined(_WIN32)
// The Linux build's case folding, comparison and length, as the Windows runtime's in the "C"
// locale. Inline: the substring search calls them for every character it visits.
namespace Platform {

// Folds exactly the letters a-z onto A-Z; every other character, accented Latin-1 letters and
// surrogates included, is returned unchanged, as the runtime's towupper in the "C" locale.
inline WideChar ToUpper(WideChar c) {
  return c >= u'a' && c <= u'z' ? WideChar(c - u'a' + u'A') : c;
}

// Like _wcsnicmp: both sides are lower-cased (A-Z only, the inverse of ToUpper) and the first
// difference of the lower-cased characters is returned; a terminator on either side ends the
// comparison. So it is 0 exactly when the first `count` characters agree after ToUpper.
inline int CompareNoCase(const WideChar* a, const WideChar* b, std::size_t count) {
  const auto toLower = [](WideChar c) -> int {
    return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const int left = toLower(a[i]);
    const int right = toLower(b[i]);
    if (left != right || left == 0) {
      return left - right;
    }
  }
  return 0;
}

inline std::size_t TextLength(const WideChar* text) {
  std::size_t length = 0;
  while (text[length] != 0) {
    ++length;
  }
  return length;
}

}  // namespace Platform
#endif
