// The optimal encoder of the compressed member format.
#include "tools/qmxpack/encoder.h"

#include <algorithm>

#include "payload/container.h"

static unsigned HashOfThree(const Bytes& data, size_t i)
{
    uint32_t key = data[i] | data[i + 1] << 8 | data[i + 2] << 16;
    return (key * 2654435761u) >> 16;
}

std::vector<Token> FindLongestMatches(const Bytes& data)
{
    size_t n = data.size();
    std::vector<Token> matches(n, Token{0, 0});
    // Two-byte matches from the last place of each byte pair; longer ones
    // along a chain of earlier places with the same three-byte hash, newest
    // first, until the window ends or a match of the full length turns up.
    std::vector<int64_t> lastPair(1 << 16, -1);
    std::vector<int64_t> chainHead(1 << 16, -1);
    std::vector<int64_t> chainNext(n, -1);
    for (size_t i = 0; i + 1 < n; i++) {
        Token best{0, 0};
        unsigned pair = data[i] | data[i + 1] << 8;
        if (lastPair[pair] >= 0 && i - lastPair[pair] <= kMaxDistance)
            best = Token{2, (uint16_t)(i - lastPair[pair])};
        lastPair[pair] = i;
        if (i + 2 < n) {
            size_t cap = std::min<size_t>(kMaxReference, n - i);
            unsigned hash = HashOfThree(data, i);
            for (int64_t s = chainHead[hash]; s >= 0 && i - s <= kMaxDistance && best.length < cap;
                 s = chainNext[s]) {
                if (data[s + best.length] != data[i + best.length])
                    continue;
                size_t length = 0;
                while (length < cap && data[s + length] == data[i + length])
                    length++;
                if (length > best.length)
                    best = Token{(uint16_t)length, (uint16_t)(i - s)};
            }
            chainNext[i] = chainHead[hash];
            chainHead[hash] = i;
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
