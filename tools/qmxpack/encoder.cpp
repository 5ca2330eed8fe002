// The optimal encoder of the compressed member format.
#include "tools/qmxpack/encoder.h"

#include <algorithm>

#include "payload/container.h"

std::vector<Token> FindLongestMatches(const Bytes& data)
{
    size_t n = data.size();
    std::vector<Token> matches(n, Token{0, 0});
    // One binary search tree per byte pair over the places that start with
    // it, ordered by the bytes that follow (compared up to the longest
    // match) and newest at the root. Inserting a place walks from the root
    // and passes its neighbours in that order, so it meets the longest
    // match; every node is newer than the nodes below it, so the walk stops
    // at the first one beyond the window. A node that matches in full is
    // replaced by the new place, which is nearer and equal for any later use.
    const int64_t none = -1;
    std::vector<int64_t> root(1 << 16, none);
    std::vector<int64_t> smaller(n, none), larger(n, none);
    for (size_t i = 0; i + 1 < n; i++) {
        size_t cap = std::min<size_t>(kMaxReference, n - i);
        unsigned pair = data[i] | data[i + 1] << 8;
        int64_t s = root[pair];
        root[pair] = i;
        // Where the walk hangs the next node smaller, or larger, than place i.
        int64_t* smallerSlot = &smaller[i];
        int64_t* largerSlot = &larger[i];
        size_t smallerLength = 0, largerLength = 0;  // what every node on that side shares with i
        Token best{0, 0};
        for (;;) {
            if (s == none || i - s > kMaxDistance) {
                *smallerSlot = *largerSlot = none;
                break;
            }
            size_t length = std::min(smallerLength, largerLength);
            while (length < cap && data[s + length] == data[i + length])
                length++;
            if (length > best.length)
                best = Token{(uint16_t)length, (uint16_t)(i - s)};
            if (length == cap) {
                *smallerSlot = smaller[s];
                *largerSlot = larger[s];
                break;
            }
            if (data[s + length] < data[i + length]) {
                *smallerSlot = s;
                smallerSlot = &larger[s];
                s = larger[s];
                smallerLength = length;
            } else {
                *largerSlot = s;
                largerSlot = &smaller[s];
                s = smaller[s];
                largerLength = length;
            }
        }
        matches[i] = best;
    }
    return matches;
}

std::vector<Token> ParseOptimal(const std::vector<Token>& matches, unsigned maxLength, size_t literalPrefix)
{
    size_t n = matches.size();
    // bits[i]: the least cost of the bytes from i to the end; step[i]: the
    // first token of that cheapest way.
    std::vector<uint64_t> bits(n + 1, 0);
    std::vector<uint16_t> step(n, 1);
    for (size_t i = n; i-- > 0;) {
        bits[i] = bits[i + 1] + kLiteralBits;
        if (i < literalPrefix)
            continue;
        unsigned longest = std::min<unsigned>(matches[i].length, maxLength);
        for (unsigned length = kMinReference; length <= longest; length++) {
            if (bits[i + length] + kReferenceBits < bits[i]) {
                bits[i] = bits[i + length] + kReferenceBits;
                step[i] = length;
            }
        }
    }
    std::vector<Token> tokens;
    for (size_t i = 0; i < n; i += step[i])
        tokens.push_back(Token{step[i], (uint16_t)(step[i] == 1 ? 0 : matches[i].distance)});
    return tokens;
}

std::vector<Token> ParseGreedy(const std::vector<Token>& matches)
{
    std::vector<Token> tokens;
    for (size_t i = 0; i < matches.size();) {
        Token token = matches[i].length >= kMinReference ? matches[i] : Token{1, 0};
        tokens.push_back(token);
        i += token.length;
    }
    return tokens;
}

Bytes WriteStream(const Bytes& data, const std::vector<Token>& tokens)
{
    Bytes stream;
    stream.reserve(data.size() + data.size() / 8 + 1);
    size_t flagAt = 0;
    size_t out = 0;
    for (size_t t = 0; t < tokens.size(); t++) {
        unsigned bit = t % kTokensPerFlag;
        if (bit == 0) {
            flagAt = stream.size();
            stream.push_back(0xFF);  // bits are cleared for references below
        }
        const Token& token = tokens[t];
        if (token.length == 1) {
            stream.push_back(data[out]);
        } else {
            stream[flagAt] &= (uint8_t)~(1u << bit);
            // The window position that output index out - distance was
            // written to: every member writes from position 1 on.
            unsigned position = (1 + out - token.distance) & (kMaxDistance - 1);
            stream.push_back((uint8_t)((token.length - kMinReference) << 4 | position >> 8));
            stream.push_back((uint8_t)position);
        }
        out += token.length;
    }
    return stream;
}

Bytes MemberContent(const std::string& name, const Bytes& file)
{
    Bytes content(name.begin(), name.end());
    content.push_back(0);
    content.insert(content.end(), file.begin(), file.end());
    return content;
}

Bytes CompressMember(const std::string& name, const Bytes& file)
{
    Bytes content = MemberContent(name, file);
    std::vector<Token> matches = FindLongestMatches(content);
    size_t n = content.size();
    // The name and its NUL are literals, and so is the rest of the first flag
    // byte's tokens: the stream starts 0xFF, name. A flag byte between the
    // name's '.' and the NUL could still make the leading bytes read ".wa";
    // literals to the end of the NUL's flag group make every flag byte there
    // 0xFF, which can't.
    size_t named = std::min(n, std::max<size_t>(kTokensPerFlag, name.size() + 1));
    size_t flagGroup = std::min(n, (named + kTokensPerFlag - 1) / kTokensPerFlag * kTokensPerFlag);
    // References of at most 8 bytes can't expand more than 64 / 17 times, so
    // shortening them always ends below four times the member's size.
    for (unsigned maxLength = kMaxReference;; maxLength--) {
        Bytes stream = WriteStream(content, ParseOptimal(matches, maxLength, named));
        if (IsStoredMember(stream.data(), stream.size()))
            stream = WriteStream(content, ParseOptimal(matches, maxLength, flagGroup));
        if (stream.size() * kMaxExpansion >= n)
            return stream;
    }
}
