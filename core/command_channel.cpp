#include "core/command_channel.h"

#include <algorithm>

#include "core/catalogue.h"
#include "core/number_text.h"
#include "core/tray.h"

namespace nudgewick {
namespace {

// Well-formed UTF-8 with no control characters but the ones allowed.
bool IsText(std::string_view bytes, std::string_view controls) {
    return IsUtf8(bytes) && std::none_of(bytes.begin(), bytes.end(), [controls](char c) {
               return IsControl(c) && controls.find(c) == std::string_view::npos;
           });
}

void AppendUtf8(std::string& text, char32_t code) {
    const auto byte = [&text](char32_t bits) { text += static_cast<char>(bits); };
    if (code < 0x80) return byte(code);
    if (code < 0x800) {
        byte(0xc0 | code >> 6);
    } else if (code < 0x10000) {
        byte(0xe0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3f));
    } else {
        byte(0xf0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3f));
        byte(0x80 | (code >> 6 & 0x3f));
    }
    byte(0x80 | (code & 0x3f));
}

bool IsSurrogate(char32_t unit, char32_t first) { return unit >= first && unit < first + 0x400; }

}  // namespace

std::optional<StartSettings> ReadHandedOver(std::string_view bytes) {
    if (bytes.size() > kLongestCommandLine || !IsText(bytes, "\t")) return std::nullopt;
    const StartupCheck check = CheckCommandLine(bytes);
    if (!check.proceed || check.settings.check || check.settings.commandAt) return std::nullopt;
    return check.settings;
}

std::optional<std::string> Utf8FromUtf16(std::string_view bytes, std::size_t longest) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    const std::size_t units = bytes.size() / 2;
    const auto unit = [bytes](std::size_t k) -> char32_t {
        return static_cast<char32_t>(static_cast<unsigned char>(bytes[2 * k]) |
                                     static_cast<unsigned char>(bytes[2 * k + 1]) << 8);
    };
    std::string text;
    for (std::size_t k = 0; k < units && text.size() <= longest; ++k) {
        char32_t code = unit(k);
        if (IsSurrogate(code, 0xdc00)) return std::nullopt;
        if (IsSurrogate(code, 0xd800)) {
            if (k + 1 == units || !IsSurrogate(unit(k + 1), 0xdc00)) return std::nullopt;
            ++k;
            code = 0x10000 + ((code & 0x3ff) << 10 | (unit(k) & 0x3ff));
        }
        AppendUtf8(text, code);
    }
    if (text.size() > longest) return std::nullopt;
    return text;
}

// The defaults of an empty command line, or the zeros of a blank one, are no setting given.
bool AsksNothing(StartSettings settings) {
    settings.interval = settings.pixels = 0;
    return settings == StartSettings{};
}

CommandAnswer AnswerFor(const StartSettings& asked, bool running, const std::string& tooltip) {
    if (asked.command == Command::Query) return {running ? 0 : kStoppedStatus, StatusLine(tooltip) + "\n"};
    if (asked.command == Command::Quit) return {0, "Nudgewick: " + Tr("ended\n")};
    if (AsksNothing(asked)) return {0, Tr(kAlreadyRunning)};
    return {0, tooltip + "\n"};
}

bool OnStandardError(const CommandAnswer& answer, const StartSettings& asked) {
    return Failed(answer) || AsksNothing(asked);
}

std::optional<CommandAnswer> AnswerWithoutCopy(Command command) {
    if (command == Command::Query) return CommandAnswer{kStoppedStatus, Tr("not running\n")};
    if (command == Command::Stop || command == Command::Quit) return CommandAnswer{0, Tr("Nudgewick is not running\n")};
    return std::nullopt;  // a start, a toggle or a go becomes the copy that runs
}

std::string WriteAnswer(const CommandAnswer& answer) { return WholeNumberText(answer.exitCode) + " " + answer.text; }

CommandAnswer ReadAnswer(const std::optional<std::string>& bytes) {
    if (!bytes) return {1, Tr("nudgewick: the running copy did not answer\n")};
    const std::string_view answer = *bytes;
    if (answer.size() < 2 || answer.size() > kLongestAnswer || answer[0] < '0' || answer[0] > '9' || answer[1] != ' ' ||
        !IsText(answer.substr(2), "\t\n\1\2\3")) {
        return {1, Tr("nudgewick: the running copy did not take the command line\n")};
    }
    return {answer[0] - '0', Spoken(answer.substr(2))};
}

}  // namespace nudgewick
