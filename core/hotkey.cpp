#include "core/hotkey.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/number_text.h"

namespace nudgewick {
namespace {

constexpr std::array<std::pair<const char*, HotkeyModifier>, 4> kModifiers = {
    {{"ctrl", kHotkeyCtrl}, {"alt", kHotkeyAlt}, {"shift", kHotkeyShift}, {"super", kHotkeySuper}}};

std::optional<Hotkey> ReadKey(std::string_view key) {
    if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') return Hotkey{0, Hotkey::Kind::Letter, key[0] - 'a'};
    if (key.size() == 1 && IsDigit(key[0])) return Hotkey{0, Hotkey::Kind::Digit, key[0] - '0'};
    const std::string_view digits = key.substr(std::min<std::size_t>(1, key.size()));
    if (key.size() < 2 || key.size() > 3 || key[0] != 'f' || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), IsDigit)) {
        return std::nullopt;
    }
    const int number = std::stoi(std::string(digits));
    if (number > 24) return std::nullopt;
    return Hotkey{0, Hotkey::Kind::Function, number};
}

}  // namespace

std::optional<Hotkey> ReadHotkey(std::string_view text) {
    const std::string lower = LowerCase(text);
    const std::string_view words = lower;
    const std::size_t last = words.rfind('+');
    // A key without a modifier would be taken from every other program.
    auto hotkey = last == std::string_view::npos ? std::nullopt : ReadKey(words.substr(last + 1));
    if (!hotkey) return std::nullopt;
    for (std::size_t from = 0; from <= last;) {
        const std::size_t plus = words.find('+', from);
        const std::string_view word = words.substr(from, plus - from);
        const auto* modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                            [word](const auto& named) { return word == named.first; });
        if (modifier == kModifiers.end() || (hotkey->modifiers & modifier->second) != 0) return std::nullopt;
        hotkey->modifiers |= modifier->second;
        from = plus + 1;
    }
    return hotkey;
}

std::string HotkeyText(const Hotkey& hotkey) {
    std::string text;
    for (const auto& [name, bit] : kModifiers) {
        if ((hotkey.modifiers & bit) != 0) text += std::string(name) + "+";
    }
    switch (hotkey.kind) {
    case Hotkey::Kind::Letter: return text + static_cast<char>('a' + hotkey.number);
    case Hotkey::Kind::Digit: return text + static_cast<char>('0' + hotkey.number);
    case Hotkey::Kind::Function: return text + "f" + WholeNumberText(hotkey.number);
    }
    return text;
}

std::string ShortcutTrigger(const Hotkey& hotkey) {
    constexpr std::array<std::pair<const char*, HotkeyModifier>, 4> kNames = {
        {{"CTRL", kHotkeyCtrl}, {"ALT", kHotkeyAlt}, {"SHIFT", kHotkeyShift}, {"LOGO", kHotkeySuper}}};
    std::string trigger;
    for (const auto& [name, bit] : kNames) {
        if ((hotkey.modifiers & bit) != 0) trigger += std::string(name) + "+";
    }
    const std::string key = HotkeyText({0, hotkey.kind, hotkey.number});
    return trigger + (hotkey.kind == Hotkey::Kind::Function ? "F" + key.substr(1) : key);
}

std::string HotkeyCheckLine(HotkeyRoute route) {
    if (route == HotkeyRoute::KeyGrab) return Tr("hotkey: a key grab of the X server's\n");
    if (route == HotkeyRoute::DesktopShortcuts)
        return Format(Tr("hotkey: the desktop's shortcuts (%1)\n"), {"org.freedesktop.portal.GlobalShortcuts"});
    return Format(Tr("hotkey: none; %1\n"), {Tr(kBindToggleAdvice)});
}

}  // namespace nudgewick
