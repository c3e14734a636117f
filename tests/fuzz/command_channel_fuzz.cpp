// What passes between a second start and the running copy, any bytes: a command line handed over is taken only
// as text, and as its own start would take it; UTF-16 reads as glibc's iconv reads it; an answer that is
// taken travels back unchanged.
#include <iconv.h>

#include "core/command_channel.h"
#include "tests/fuzz/fuzz.h"

namespace {

// glibc's conversion, which refuses what is not Unicode text: nothing for that.
std::optional<std::string> Converted(const char* to, const char* from, std::string bytes) {
    const iconv_t converter = iconv_open(to, from);
    std::string out(2 * bytes.size(), '\0');
    char *in = bytes.data(), *at = out.data();
    std::size_t left = bytes.size(), room = out.size();
    const bool done = iconv(converter, &in, &left, &at, &room) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!done) return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nudgewick;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (const auto given = ReadHandedOver(bytes)) {
        fuzz::ExpectAccepted(*given);
        FUZZ_EXPECT(CheckCommandLine(bytes).settings == *given && bytes.size() <= kLongestCommandLine);
        FUZZ_EXPECT(Converted("UTF-16LE", "UTF-8", bytes) &&
                    bytes.find_first_of(std::string("\0\n\r\x1b\x7f", 5)) == std::string::npos);
    }
    auto utf8 = Converted("UTF-8", "UTF-16LE", bytes);
    if (utf8 && utf8->size() > kLongestAnswer) utf8.reset();
    FUZZ_EXPECT(Utf8FromUtf16(bytes, kLongestAnswer) == utf8);
    const CommandAnswer answer = ReadAnswer(bytes);
    // An answer that holds a meaning (see Spoken) reads as another.
    const bool plain = bytes.find_first_of("\1\2\3") == std::string::npos;
    FUZZ_EXPECT(answer.exitCode == 1 ||
                (plain ? WriteAnswer(answer) == bytes && ReadAnswer(WriteAnswer(answer)) == answer
                       : answer.text.find_first_of("\1\2\3") == std::string::npos));
    return 0;
}
