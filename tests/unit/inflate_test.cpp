#include "core/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace nudgewick::testing {
namespace {

// text as a raw deflate stream, as zlib writes it with these choices.
std::string Deflated(const std::string& text, int level, int strategy) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, strategy), Z_OK);
    std::string deflated(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(deflated.data());
    stream.avail_out = static_cast<uInt>(deflated.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    deflated.resize(stream.total_out);
    deflateEnd(&stream);
    return deflated;
}

// Words that come back near and far (past the 32 KiB window's middle), with a stray byte of any value now and then.
std::string Prose(std::size_t size) {
    const char* const words[] = {"nudge ", "pointer ", "still\n", "a ", "über ", "Zeiger ", "ポインタ ", "%1 ", "\t"};
    std::minstd_rand random(7);
    std::string text;
    while (text.size() < size)
        text += random() % 13 == 0 ? std::string(1, static_cast<char>(random())) : words[random() % std::size(words)];
    return text;
}

TEST(InflateTest, UndoesWhatZlibDeflates) {
    // The text, zlib's level and strategy, why.
    const std::tuple<std::string, int, int, const char*> rows[] = {
        {"", Z_DEFAULT_COMPRESSION, Z_DEFAULT_STRATEGY, "nothing: one empty block"},
        {Prose(100), Z_DEFAULT_COMPRESSION, Z_FIXED, "the fixed codes"},
        {Prose(40000), Z_BEST_COMPRESSION, Z_DEFAULT_STRATEGY, "dynamic codes, copies from across the window"},
        {Prose(70000), Z_NO_COMPRESSION, Z_DEFAULT_STRATEGY, "stored blocks, more than one"},
        {Prose(3000), Z_DEFAULT_COMPRESSION, Z_HUFFMAN_ONLY, "literals alone"},
        {Prose(3000) + std::string(1000, 'x'), Z_DEFAULT_COMPRESSION, Z_RLE, "runs: copies that overlap themselves"},
    };
    for (const auto& [text, level, strategy, why] : rows) {
        const std::string deflated = Deflated(text, level, strategy);
        EXPECT_EQ(Inflate(deflated), text) << why;
        // A stream cut anywhere lacks its last block's end.
        for (std::size_t cut = 0; cut < deflated.size(); cut += 1 + deflated.size() / 40)
            EXPECT_EQ(Inflate(deflated.substr(0, cut)), std::nullopt) << why << ", cut to " << cut << " bytes";
        EXPECT_EQ(Inflate(deflated.substr(0, deflated.size() - 1)), std::nullopt) << why << ", its last byte cut";
    }
}

TEST(InflateTest, StreamsWrittenBitByBit) {
    // Final blocks that zlib never writes: the faulty ones whole but for their fault, refused as zlib refuses them, and
    // two that other encoders may write, taken as zlib takes them.
    const std::string allEightBits = std::string("\x05\x20\x80\x24") + std::string(31, '\xff') + "\x7f\xfd\x03";
    const std::string noDistances = std::string("\x05\x20\x20\x28", 4) + std::string(31, '\0') + "\x80\xf4\x0f";
    const std::string repeatPast = std::string("\x05\x20\x20\x28", 4) + std::string(31, '\0') + "\x80\x8c\x7f";
    const std::string distancesOver =
        std::string("\x05\x3f\x20\x28", 4) + std::string(31, '\0') + "\x80\xfc\xff\xeb\x1f";
    const std::string distanceUnused =
        std::string("\x05\x80\x31\x28", 4) + std::string(3, '\0') + '\xc0' + std::string(32, '\0') + "\xd9\x3f";
    const std::string loneDistance = std::string("\x0d\xc0\x01\x28", 4) + std::string(4, '\0') + '\x20' +
                                     std::string(31, '\0') + "\xa0\xd8\xf0\xdf\x1f";
    const std::tuple<std::string, std::optional<std::string>, const char*> rows[] = {
        {"\x07", std::nullopt, "the reserved block type"},
        {std::string("\x01\x05\x00\x00\x00hello", 10), std::nullopt, "a stored length whose complement is not"},
        {std::string("\x03\x02\x00", 3), std::nullopt, "a copy from before the first byte"},
        {std::string("\x4b\x1c\x03\x00\x00", 5), std::nullopt, "a fixed code's length symbol that means nothing"},
        {"\x4b\x04\x3e", std::nullopt, "a fixed code's distance symbol that means nothing"},
        {allEightBits, std::nullopt, "more code lengths of one bit than there are bits"},
        {std::string("\x05\x00\x02\x24", 4), std::nullopt, "a repeat of the length before the first one"},
        {distanceUnused, std::nullopt, "a lone distance code of two bits, one of its patterns unused"},
        {distancesOver, std::nullopt, "32 distance codes, where there are 30"},
        {repeatPast, std::nullopt, "a run of zero lengths past the last code"},
        {std::string("\x05\x00\x80\xe4\x7f\x1b", 6), std::nullopt, "no code for the block's end"},
        {noDistances, "", "literals only, with no distance code at all"},
        {loneDistance, "aaaa", "a lone distance code of one bit"},
    };
    for (const auto& [stream, expected, why] : rows) EXPECT_EQ(Inflate(stream), expected) << why;
}

}  // namespace
}  // namespace nudgewick::testing
