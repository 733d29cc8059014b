// Paths in the ANSI code page, walked a character at a time: in the
// double-byte code pages (932, 936, 949, 950) a character's second byte may
// be 0x5C, the backslash, or a capital letter.
#pragma once
#include <cstddef>

// Which bytes open a two-byte character. None do in UTF-8 and the
// single-byte code pages, where every backslash byte is a backslash.
struct LeadBytes {
    bool lead[256];
};
extern const LeadBytes NO_LEAD_BYTES;

// Where the last character of s[0..n) begins; n if there is none. A lead
// byte with no byte after it counts as a character of its own.
size_t lastCharStart(const char* s, size_t n, const LeadBytes& lb);
// Whether the last character of s[0..n) is a backslash.
bool endsInBackslash(const char* s, size_t n, const LeadBytes& lb);
// The last backslash character of s, or nullptr.
const char* lastBackslash(const char* s, const LeadBytes& lb);
// Whether n bytes of a and b read alike, ASCII letters without regard to
// case; a double-byte character must match byte for byte, its second byte
// never folded.
bool sameTextNoCase(const char* a, const char* b, size_t n, const LeadBytes& lb);
