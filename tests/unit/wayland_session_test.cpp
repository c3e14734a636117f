#include <gtest/gtest.h>

#include "core/wayland_session.h"

namespace nudgewick {
namespace {

// Records the services asked, in order; those named in works work, the others fail, "no" and their name.
struct FakeServices : SessionServices {
    std::string works, asked;
    std::optional<std::string> Answer(const std::string& service) {
        asked += service + " ";
        return works.find(service) != std::string::npos ? std::nullopt : std::optional("no " + service);
    }
    std::optional<std::string> StartRemoteDesktop() override { return Answer("gnome"); }
    std::optional<std::string> StartPortal() override { return Answer("portal"); }
    std::optional<std::string> LookForPortal() override { return Answer("look"); }
    bool HasIdleMonitor() override { return !Answer("monitor"); }
};

TEST(WaylandSessionTest, TheFirstRouteAndIdleSourceOnOfferAreTakenOrTheAdviceSaysWhatToFix) {
    using enum WaylandRoute;
    using enum IdleFrom;
    const CompositorGlobals sway{.seat = true, .virtualPointer = true, .extIdleNotifier = true};
    const CompositorGlobals kwin{.seat = true, .extIdleNotifier = true, .kdeIdle = true, .kwin = true};
    const CompositorGlobals allowed{.seat = true, .fakeInput = true, .kdeIdle = true};
    const CompositorGlobals seatless{.virtualPointer = true, .extIdleNotifier = true, .kdeIdle = true};
    // Why; what the compositor offers; which services work; looking only; the
    // route and idle source taken; the services asked, in order.
    const std::tuple<const char*, CompositorGlobals, const char*, bool, WaylandRoute, IdleFrom, const char*> cases[] = {
        {"sway", sway, "", false, VirtualPointer, ExtIdleNotifier, ""},
        {"KWin, allowed", allowed, "", false, FakeInput, KdeIdle, ""},
        {"notices need a seat", seatless, "monitor", false, VirtualPointer, GnomeIdleMonitor, "monitor "},
        {"GNOME", {}, "gnome monitor", false, GnomeRemoteDesktop, GnomeIdleMonitor, "gnome monitor "},
        {"KWin, not allowed: the portal", kwin, "portal look", false, Portal, ExtIdleNotifier, "gnome portal "},
        {"--check only looks for it", kwin, "portal look", true, Portal, ExtIdleNotifier, "gnome look "},
        {"KWin, no portal", kwin, "", false, Missing, ExtIdleNotifier, "gnome portal "},
        {"nothing at all", {}, "", true, Missing, Nowhere, "gnome look monitor "},
    };
    for (const auto& [why, globals, works, lookingOnly, route, idle, asked] : cases) {
        FakeServices services;
        services.works = works;
        const WaylandChoice choice = ChooseWaylandWays(globals, services, lookingOnly, {.path = "/opt/n/nudgewick"});
        EXPECT_EQ(std::tuple(choice.route, choice.idle, services.asked), std::tuple(route, idle, asked)) << why;
        EXPECT_EQ(choice.CanNudge(), choice.missing.empty()) << why << ": " << choice.missing;
        if (route != Missing) continue;  // else what to do, with the services' reasons
        const char* const said[] = {globals.kwin ? "Exec=/opt/n/nudgewick\n" : "(no gnome)",
                                    lookingOnly ? "(no look)" : "(no portal)"};
        for (const char* part : said) EXPECT_NE(choice.missing.find(part), std::string::npos) << choice.missing;
    }
    // KWin withheld its fake input: the advice names what to fix, the entry or the menu it is not found through.
    const std::tuple<std::optional<std::string>, std::string, const char*, const char*> advice[] = {
        {std::nullopt, "", "Exec=/opt/n/nudgewick\n", "/usr/share/applications"},
        {"/usr/share/applications/n.desktop", "", "entry /usr/share/applications/n.desktop,", "Exec="},
        {"/usr/share/applications/n.desktop", "lxde-", "XDG_MENU_PREFIX=lxde-", "Install"},
    };
    for (const auto& [entry, prefix, said, unsaid] : advice) {
        FakeServices services;
        const auto missing = ChooseWaylandWays(kwin, services, false, {"/opt/n/nudgewick", entry, prefix}).missing;
        EXPECT_NE(missing.find(said), std::string::npos) << missing;
        EXPECT_EQ(missing.find(unsaid), std::string::npos) << missing;
    }
}

// The notices for 500 and 2000 ms as they come, and the idle time at 10 000 ms.
TEST(WaylandSessionTest, TheIdleTimeIsTheEarliestInputTheQuietNoticesTell) {
    NotifiedIdle idle;
    EXPECT_EQ(idle.Milliseconds(10000), 0) << "no notice yet";
    idle.Idled(1, 9900);
    EXPECT_EQ(idle.Milliseconds(10000), 0) << "the longer delay's notice alone";
    idle.Idled(0, 9900);
    EXPECT_EQ(idle.Milliseconds(10000), 2100) << "both in one late turn: the longer delay tells";
    idle.Resumed(1);
    EXPECT_EQ(idle.Milliseconds(10000), 600) << "the shorter one alone";
    idle.Resumed(0);
    EXPECT_EQ(idle.Milliseconds(10000), 0) << "input resumed";
}

}  // namespace
}  // namespace nudgewick
