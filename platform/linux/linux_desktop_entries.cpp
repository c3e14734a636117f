#include "platform/linux/linux_desktop_entries.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace nudgewick::linux_desktop {
namespace {

std::string Environment(const char* name, const std::string& otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : otherwise;
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> parts;
    std::stringstream stream(list);
    for (std::string part; std::getline(stream, part, ':');)
        if (!part.empty()) parts.push_back(part);
    return parts;
}

std::vector<std::string> ApplicationFolders() {
    std::vector<std::string> folders{Environment("XDG_DATA_HOME", Environment("HOME", "/") + "/.local/share")};
    for (const std::string& folder : Split(Environment("XDG_DATA_DIRS", "/usr/local/share:/usr/share")))
        folders.push_back(folder);
    for (std::string& folder : folders) folder += "/applications";
    return folders;
}

// The file an Exec line's first word starts: a bare name as the PATH finds it.
std::string Resolved(const std::string& command) {
    std::error_code ignored;
    if (command.find('/') != std::string::npos) return std::filesystem::canonical(command, ignored).string();
    for (const std::string& folder : Split(Environment("PATH", "/usr/bin:/bin"))) {
        const auto found = std::filesystem::canonical(folder + "/" + command, ignored);
        if (!ignored) return found.string();
    }
    return {};
}

bool StartsWithFakeInput(const std::filesystem::path& entry, const std::string& path) {
    std::ifstream file(entry);
    bool starts = false, asks = false;
    for (std::string line; std::getline(file, line);) {
        if (line.starts_with("[Desktop Action")) break;  // the actions' Exec lines start the same file
        if (line.starts_with("Exec=")) starts = Resolved(line.substr(5, line.find(' ') - 5)) == path;
        if (line.starts_with("X-KDE-Wayland-Interfaces="))
            asks = line.find("org_kde_kwin_fake_input") != std::string::npos;
    }
    return starts && asks;
}

}  // namespace

std::optional<std::string> FakeInputEntryFor(const std::string& path) {
    std::error_code ignored;
    for (const std::string& folder : ApplicationFolders()) {
        for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
            if (entry.path().extension() == ".desktop" && StartsWithFakeInput(entry.path(), path))
                return entry.path().string();
        }
    }
    return std::nullopt;
}

}  // namespace nudgewick::linux_desktop
