// The member encoder: the smallest stream of the compressed member format.
// A literal costs 9 bits (its flag bit and its byte), a reference of 2 to 17
// bytes 17 bits, so the longest match at every position and a shortest-path
// pass over the file give the exact optimum.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

typedef std::vector<uint8_t> Bytes;

enum {
    kMinReference = 2,
    kMaxReference = 17,
    kMaxDistance = 4096,  // the history window: older bytes are overwritten
    kLiteralBits = 9,
    kReferenceBits = 17,
    kTokensPerFlag = 8,
};

// A literal has length 1 and distance 0; a reference copies length bytes
// from distance bytes back in the member's own output.
struct Token {
    uint16_t length;
    uint16_t distance;
};

// The longest match (at most 17 bytes) at every position of data, reaching
// back at most 4096 bytes and never before data[0]; length 0 when there is
// no match of 2 bytes or more. Every shorter length matches at the same
// distance.
std::vector<Token> FindLongestMatches(const Bytes& data);

// The cheapest token sequence using references of at most maxLength bytes,
// with the first literalPrefix bytes given as literals.
std::vector<Token> ParseOptimal(const std::vector<Token>& matches, unsigned maxLength, size_t literalPrefix);

// Takes the longest match wherever there is one: the yardstick for the optimum.
std::vector<Token> ParseGreedy(const std::vector<Token>& matches);

// The stream for data as tokens. Bits of the last flag byte after the last
// token are set, so even a short member starts with a flag byte 0xFF.
Bytes WriteStream(const Bytes& data, const std::vector<Token>& tokens);

// The name, its NUL and the file's bytes: what a member expands to.
Bytes MemberContent(const std::string& name, const Bytes& file);

// The compressed member for a file, keeping the container's rules: a flag
// byte 0xFF with the name and NUL as literals, leading bytes that never read
// like a stored member, and an expansion of at most four times its size.
Bytes CompressMember(const std::string& name, const Bytes& file);
