#include <gtest/gtest.h>

#include "core/wayland_session.h"

namespace nudgewick {
namespace {

// Records which services were asked, in order; those named in works work,
// the others fail, saying "no" and their name.
struct FakeServices : SessionServices {
    std::string works, asked;
    std::optional<std::string> Answer(const std::string& service) {
        asked += service + " ";
        if (works.find(service) != std::string::npos) return std::nullopt;
        return "no " + service;
    }
    std::optional<std::string> StartRemoteDesktop() override { return Answer("gnome"); }
    std::optional<std::string> StartPortal() override { return Answer("portal"); }
    std::optional<std::string> LookForPortal() override { return Answer("look"); }
    bool HasIdleMonitor() override { return !Answer("monitor"); }
};

TEST(WaylandSessionTest, TheFirstRouteAndIdleSourceOnOfferAreTaken) {
    using enum WaylandRoute;
    using enum IdleFrom;
    const CompositorGlobals sway{.seat = true, .virtualPointer = true, .extIdleNotifier = true};
    const CompositorGlobals kwin{.seat = true, .extIdleNotifier = true, .kdeIdle = true, .kwin = true};
    const CompositorGlobals allowed{.seat = true, .fakeInput = true, .kdeIdle = true};
    const CompositorGlobals seatless{.virtualPointer = true, .extIdleNotifier = true, .kdeIdle = true};
    const struct {
        const char* why;
        CompositorGlobals globals;
        const char* works;
        bool lookingOnly;
        WaylandRoute route;
        IdleFrom idle;
        const char* asked;
    } cases[] = {
        {"sway", sway, "", false, VirtualPointer, ExtIdleNotifier, ""},
        {"KWin, allowed", allowed, "", false, FakeInput, KdeIdle, ""},
        {"notices need a seat", seatless, "monitor", false, VirtualPointer, GnomeIdleMonitor, "monitor "},
        {"GNOME", {}, "gnome monitor", false, GnomeRemoteDesktop, GnomeIdleMonitor, "gnome monitor "},
        {"KWin, not allowed: the portal", kwin, "portal look", false, Portal, ExtIdleNotifier, "gnome portal "},
        {"--check only looks for it", kwin, "portal look", true, Portal, ExtIdleNotifier, "gnome look "},
        {"KWin, no portal", kwin, "", false, Missing, ExtIdleNotifier, "gnome portal "},
        {"nothing at all", {}, "", true, Missing, Nowhere, "gnome look monitor "},
    };
    for (const auto& c : cases) {
        FakeServices services;
        services.works = c.works;
        const WaylandChoice choice = ChooseWaylandWays(c.globals, services, c.lookingOnly, "/opt/n/nudgewick");
        EXPECT_EQ(choice.route, c.route) << c.why;
        EXPECT_EQ(choice.idle, c.idle) << c.why;
        EXPECT_EQ(services.asked, c.asked) << c.why;
        EXPECT_EQ(choice.CanNudge(), choice.missing.empty()) << c.why << ": " << choice.missing;
        if (c.route != Missing) continue;  // else what to do, with the services' reasons
        const char* const said[] = {c.globals.kwin ? "Exec=/opt/n/nudgewick\n" : "(no gnome)",
                                    c.lookingOnly ? "(no look)" : "(no portal)"};
        for (const char* part : said) EXPECT_NE(choice.missing.find(part), std::string::npos) << choice.missing;
    }
}

// The notices for 500 and 2000 ms, as they come: the idle time at 10 000 ms.
TEST(WaylandSessionTest, TheIdleTimeIsTheEarliestInputTheQuietNoticesTell) {
    struct Notice {
        std::size_t which;
        std::int64_t at;  // -1: input resumed
    };
    const struct {
        const char* why;
        std::vector<Notice> notices;
        std::int64_t idle;
    } cases[] = {
        {"no notice yet", {}, 0},
        {"quiet since 8500", {{0, 9000}}, 1500},
        {"both in one late turn: the longer delay tells", {{0, 9900}, {1, 9900}}, 2100},
        {"the longer delay's notice alone", {{1, 9900}}, 0},
        {"input resumed", {{0, 9000}, {1, 9500}, {0, -1}}, 0},
        {"the longer one resumed meanwhile", {{1, 4000}, {1, -1}, {0, 9000}}, 1500},
    };
    for (const auto& c : cases) {
        NotifiedIdle idle;
        for (const Notice& notice : c.notices)
            notice.at < 0 ? idle.Resumed(notice.which) : idle.Idled(notice.which, notice.at);
        EXPECT_EQ(idle.Milliseconds(10000), c.idle) << c.why;
        EXPECT_EQ(idle.Quiet(), c.idle > 0) << c.why;
    }
}

}  // namespace
}  // namespace nudgewick
