#include "core/inflate.h"

#include <array>
#include <cstdint>
#include <span>

namespace nudgewick {
namespace {

constexpr unsigned kLongestCode = 15;
constexpr unsigned kEndOfBlock = 256;
constexpr unsigned kLengthSymbols = 286;  // 286 and 287 take part in the fixed code but mean nothing
constexpr unsigned kDistanceSymbols = 30;

// The stream's bits, each byte's lowest first. Reading past the end gives
// zeros and marks the stream as cut short: every path reads a code next, and
// Code::Read refuses a code read short.
class Bits {
public:
    explicit Bits(std::string_view bytes) : bytes_(bytes) {}

    unsigned Bit() {
        if (at_ >= bytes_.size()) {
            short_ = true;
            return 0;
        }
        const unsigned bit = (static_cast<unsigned char>(bytes_[at_]) >> bit_) & 1;
        if (++bit_ == 8) Skip();
        return bit;
    }
    // count bits as a number, the first read the lowest.
    unsigned Number(unsigned count) {
        unsigned number = 0;
        for (unsigned bit = 0; bit < count; ++bit) number |= Bit() << bit;
        return number;
    }
    // The rest of the current byte: a stored block starts on a whole byte.
    void ToByte() {
        if (bit_ != 0) Skip();
    }
    // The next count whole bytes, or nothing if the stream ends first.
    std::optional<std::string_view> Bytes(std::size_t count) {
        if (bytes_.size() - at_ < count) return std::nullopt;
        const std::string_view taken = bytes_.substr(at_, count);
        at_ += count;
        return taken;
    }
    bool CutShort() const { return short_; }

private:
    void Skip() {
        ++at_;
        bit_ = 0;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
    unsigned bit_ = 0;
    bool short_ = false;
};

// A canonical Huffman code built from each symbol's code length (0: unused),
// as the RFC's section 3.2.2 assigns them: shorter codes first, and within
// one length in the symbols' order.
class Code {
public:
    // Nothing when the lengths ask for more codes than there are bit patterns,
    // or leave patterns unused: only a block's literal and distance codes may,
    // with no code at all or a lone one of one bit (a block of one distance),
    // which is as far as zlib goes, so that no stream it refuses passes here.
    static std::optional<Code> Of(std::span<const std::uint8_t> lengths, bool blocksOwn) {
        Code code;
        for (const std::uint8_t length : lengths) ++code.count_[length];
        code.count_[0] = 0;
        unsigned unused = 1;  // bit patterns left at the current length
        for (unsigned length = 1; length <= kLongestCode; ++length) {
            unused = 2 * unused;
            if (code.count_[length] > unused) return std::nullopt;
            unused -= code.count_[length];
            code.start_[length] = code.start_[length - 1] + code.count_[length - 1];
        }
        const unsigned codes = code.start_[kLongestCode] + code.count_[kLongestCode];
        if (unused != 0 && !(blocksOwn && (codes == 0 || (codes == 1 && code.count_[1] == 1)))) return std::nullopt;
        std::array<unsigned, kLongestCode + 1> next = code.start_;
        for (unsigned symbol = 0; symbol < lengths.size(); ++symbol) {
            if (lengths[symbol] != 0) code.symbols_[next[lengths[symbol]]++] = static_cast<std::uint16_t>(symbol);
        }
        return code;
    }

    // The next symbol, or nothing when the bits are not one of its codes.
    std::optional<unsigned> Read(Bits& bits) const {
        unsigned code = 0, first = 0;  // the first code of the length being tried
        for (unsigned length = 1; length <= kLongestCode; ++length) {
            code = 2 * code + bits.Bit();
            if (bits.CutShort()) return std::nullopt;
            if (code - first < count_[length]) return symbols_[start_[length] + code - first];
            first = 2 * (first + count_[length]);
        }
        return std::nullopt;
    }

private:
    std::array<unsigned, kLongestCode + 1> count_{};  // codes of each length
    std::array<unsigned, kLongestCode + 1> start_{};  // where each length's symbols begin in symbols_
    std::array<std::uint16_t, 320> symbols_{};        // by length, then by symbol
};

struct Codes {
    Code lengths, distances;
};

// The RFC's fixed codes (block type 1).
Codes FixedCodes() {
    std::array<std::uint8_t, 288> lengths{};
    for (unsigned symbol = 0; symbol < lengths.size(); ++symbol) {
        lengths[symbol] = symbol < 144 ? 8 : symbol < 256 ? 9 : symbol < 280 ? 7 : 8;
    }
    std::array<std::uint8_t, 32> distances{};
    distances.fill(5);
    return {*Code::Of(lengths, true), *Code::Of(distances, true)};
}

// A dynamic block's code lengths, themselves Huffman coded: 16 repeats the
// last length, 17 and 18 give runs of zeros.
std::optional<Codes> DynamicCodes(Bits& bits) {
    const unsigned lengthCount = 257 + bits.Number(5), distanceCount = 1 + bits.Number(5),
                   lengthCodeCount = 4 + bits.Number(4);
    if (lengthCount > kLengthSymbols || distanceCount > kDistanceSymbols) return std::nullopt;
    constexpr std::array<std::uint8_t, 19> kLengthCodeOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                               11, 4,  12, 3, 13, 2, 14, 1, 15};
    std::array<std::uint8_t, 19> lengthCodeLengths{};
    for (unsigned at = 0; at < lengthCodeCount; ++at)
        lengthCodeLengths[kLengthCodeOrder[at]] = static_cast<std::uint8_t>(bits.Number(3));
    const auto lengthCode = Code::Of(lengthCodeLengths, false);
    if (!lengthCode) return std::nullopt;
    std::array<std::uint8_t, kLengthSymbols + kDistanceSymbols> lengths{};
    for (unsigned at = 0; at < lengthCount + distanceCount;) {
        const auto symbol = lengthCode->Read(bits);
        if (!symbol) return std::nullopt;
        if (*symbol < 16) {
            lengths[at++] = static_cast<std::uint8_t>(*symbol);
            continue;
        }
        if (*symbol == 16 && at == 0) return std::nullopt;
        const std::uint8_t repeated = *symbol == 16 ? lengths[at - 1] : 0;
        const unsigned times = *symbol == 16   ? 3 + bits.Number(2)
                               : *symbol == 17 ? 3 + bits.Number(3)
                                               : 11 + bits.Number(7);
        if (at + times > lengthCount + distanceCount) return std::nullopt;
        for (unsigned time = 0; time < times; ++time) lengths[at++] = repeated;
    }
    const auto literals = Code::Of(std::span(lengths).first(lengthCount), true);
    const auto distances = Code::Of(std::span(lengths).subspan(lengthCount, distanceCount), true);
    if (!literals || !distances) return std::nullopt;
    return Codes{*literals, *distances};
}

// A copy's length from symbols 257 to 285, and its distance from symbols 0 to
// 29: a base with extra bits, the base doubling every few symbols (the RFC's
// tables in section 3.2.5, computed).
unsigned CopyLength(unsigned symbol, Bits& bits) {
    const unsigned step = symbol - 257;
    if (step < 8) return 3 + step;
    if (symbol == 285) return 258;
    const unsigned extra = step / 4 - 1;
    return ((4 + step % 4) << extra) + 3 + bits.Number(extra);
}
unsigned CopyDistance(unsigned symbol, Bits& bits) {
    if (symbol < 4) return 1 + symbol;
    const unsigned extra = symbol / 2 - 1;
    return ((2 + symbol % 2) << extra) + 1 + bits.Number(extra);
}

// One compressed block's literals and copies, up to its end code.
bool Decoded(Bits& bits, const Codes& codes, std::string& out) {
    for (;;) {
        const auto symbol = codes.lengths.Read(bits);
        if (!symbol || *symbol >= kLengthSymbols) return false;
        if (*symbol == kEndOfBlock) return true;
        if (*symbol < kEndOfBlock) {
            out += static_cast<char>(*symbol);
            continue;
        }
        const unsigned length = CopyLength(*symbol, bits);
        const auto distanceSymbol = codes.distances.Read(bits);
        if (!distanceSymbol || *distanceSymbol >= kDistanceSymbols) return false;
        const unsigned distance = CopyDistance(*distanceSymbol, bits);
        if (distance > out.size()) return false;
        // Byte by byte: a copy may overlap what it is writing (a run).
        for (unsigned byte = 0; byte < length; ++byte) out += out[out.size() - distance];
    }
}

bool Stored(Bits& bits, std::string& out) {
    bits.ToByte();
    const auto header = bits.Bytes(4);
    if (!header) return false;
    const auto word = [&](unsigned at) {
        return static_cast<unsigned char>((*header)[at]) | static_cast<unsigned char>((*header)[at + 1]) << 8;
    };
    if ((word(0) ^ word(2)) != 0xffff) return false;  // its length, then the length's complement
    const auto bytes = bits.Bytes(word(0));
    if (!bytes) return false;
    out += *bytes;
    return true;
}

}  // namespace

std::optional<std::string> Inflate(std::string_view deflated) {
    Bits bits(deflated);
    std::string out;
    for (bool last = false; !last;) {
        last = bits.Bit() == 1;
        bool whole = false;
        switch (bits.Number(2)) {
        case 0: whole = Stored(bits, out); break;
        case 1: whole = Decoded(bits, FixedCodes(), out); break;
        case 2: {
            const auto codes = DynamicCodes(bits);
            whole = codes && Decoded(bits, *codes, out);
            break;
        }
        default: break;  // type 3 is reserved
        }
        if (!whole) return std::nullopt;
    }
    return out;
}

}  // namespace nudgewick
