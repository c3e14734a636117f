#include "platform/linux/atspi_bridge.h"

#include <FL/Enumerations.H>  // FLTK's version, the toolkit clients are told of
#include <systemd/sd-bus.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "core/accessible_text.h"
#include "platform/linux/dbus_reply.h"

namespace nudgewick::linux_desktop {
namespace {

using Node = AccessibleNode;

constexpr const char* kRegistry = "org.a11y.atspi.Registry";
constexpr const char* kObjects = "/org/a11y/atspi/accessible";
constexpr std::uint64_t kKeyAnswerMicroseconds = 500000;  // a key waits no longer for the screen reader
constexpr std::uint32_t kLayerWidget = 3, kLayerWindow = 7;

// What a handler works with: the object called and the window as it is now.
struct Call {
    AtspiBridge& bridge;
    Node node;
    const AccessibleView& view;
};

using Handler = int (*)(Call&, sd_bus_message*, sd_bus_error*);
using Getter = int (*)(Call&, sd_bus_message* reply);

template <Handler handler>
int Run(sd_bus_message* message, void* found, sd_bus_error* error) {
    const auto& ref = *static_cast<AtspiBridge::NodeRef*>(found);
    Call call{*ref.bridge, ref.node, ref.bridge->CalledView()};
    return handler(call, message, error);
}

template <Getter getter>
int Get(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* found, sd_bus_error*) {
    const auto& ref = *static_cast<AtspiBridge::NodeRef*>(found);
    Call call{*ref.bridge, ref.node, ref.bridge->CalledView()};
    return getter(call, reply);
}

int Refuse(sd_bus_error* error, const char* why) { return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, why); }

int AppendReference(sd_bus_message* message, const std::string& name, const std::string& path) {
    return sd_bus_message_append(message, "(so)", name.c_str(), path.c_str());
}

int AppendNode(sd_bus_message* message, const Call& call, std::optional<Node> node) {
    return AppendReference(message, call.bridge.UniqueName(), node ? AccessiblePath(*node) : kNullPath);
}

// Replies with values that sd-bus appends from one list of types ("b",
// "sii", "au" with its count first); ReplyNode with a reference.
template <typename... Values>
int Reply(sd_bus_message* call, const char* types, Values... values) {
    return sd_bus_reply_method_return(call, types, values...);
}

int ReplyNode(sd_bus_message* message, const Call& call, std::optional<Node> node) {
    return ReplyWith(message, [&](sd_bus_message* reply) { return AppendNode(reply, call, node); });
}

// Reads the call's arguments; a message whose types differ never gets here,
// as sd-bus checks them against the table.
template <typename... Values>
bool Read(sd_bus_message* message, const char* types, Values*... values) {
    return sd_bus_message_read(message, types, values...) >= 0;
}

// The kind of coordinates that a call's arguments end with; false for one
// that AT-SPI does not know.
bool ReadCoordType(sd_bus_message* message, CoordType& type) {
    std::uint32_t value = 0;
    const auto known = Read(message, "u", &value) ? ToCoordType(value) : std::nullopt;
    if (known) type = *known;
    return known.has_value();
}

// ---- org.a11y.atspi.Accessible

int GetName(Call& c, sd_bus_message* reply) {
    return sd_bus_message_append(reply, "s", NameOf(c.node, c.view).c_str());
}
int GetEmpty(Call&, sd_bus_message* reply) { return sd_bus_message_append(reply, "s", ""); }
int GetParent(Call& c, sd_bus_message* reply) {
    if (c.node == Node::Application) return AppendReference(reply, c.bridge.DesktopName(), c.bridge.DesktopPath());
    return AppendNode(reply, c, ParentOf(c.node));
}
int GetChildCount(Call& c, sd_bus_message* reply) {
    return sd_bus_message_append(reply, "i", static_cast<int>(ChildrenOf(c.node, c.view).size()));
}
int GetAccessibleId(Call& c, sd_bus_message* reply) {
    const std::string path = AccessiblePath(c.node);
    return sd_bus_message_append(reply, "s", path.c_str() + path.rfind('/') + 1);
}

int GetChildAtIndex(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t index = 0;
    const auto children = ChildrenOf(c.node, c.view);
    if (!Read(m, "i", &index) || index < 0 || static_cast<std::size_t>(index) >= children.size())
        return Refuse(error, "no child at that index");
    return ReplyNode(m, c, children[static_cast<std::size_t>(index)]);
}

// Appends each reference in an array.
int AppendNodes(sd_bus_message* reply, const Call& c, const std::vector<Node>& nodes) {
    return InContainer(reply, 'a', "(so)", [&](sd_bus_message* list) {
        int result = 0;
        for (const Node node : nodes)
            if (result >= 0) result = AppendNode(list, c, node);
        return result;
    });
}

int GetChildren(Call& c, sd_bus_message* m, sd_bus_error*) {
    return ReplyWith(m, [&](sd_bus_message* reply) { return AppendNodes(reply, c, ChildrenOf(c.node, c.view)); });
}

int GetIndexInParent(Call& c, sd_bus_message* m, sd_bus_error*) { return Reply(m, "i", IndexInParent(c.node, c.view)); }

int GetRelationSet(Call& c, sd_bus_message* m, sd_bus_error*) {
    const auto relations = [&c](sd_bus_message* list) {
        int result = 0;
        for (const Relation& relation : RelationsOf(c.node))
            if (result >= 0)
                result = InContainer(list, 'r', "ua(so)", [&](sd_bus_message* entry) {
                    const int type = sd_bus_message_append(entry, "u", relation.type);
                    return type < 0 ? type : AppendNodes(entry, c, {relation.target});
                });
        return result;
    };
    return ReplyWith(m, [&](sd_bus_message* reply) { return InContainer(reply, 'a', "(ua(so))", relations); });
}

int GetRole(Call& c, sd_bus_message* m, sd_bus_error*) {
    return Reply(m, "u", static_cast<std::uint32_t>(RoleOf(c.node)));
}
int GetRoleName(Call& c, sd_bus_message* m, sd_bus_error*) { return Reply(m, "s", RoleName(RoleOf(c.node))); }

int GetState(Call& c, sd_bus_message* m, sd_bus_error*) {
    const auto words = StateWords(c.node, c.view);
    return Reply(m, "au", 2, words[0], words[1]);
}

int GetAttributes(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "a{ss}", 1, "toolkit", "FLTK"); }
int GetApplication(Call& c, sd_bus_message* m, sd_bus_error*) { return ReplyNode(m, c, Node::Application); }

int GetInterfaces(Call& c, sd_bus_message* m, sd_bus_error*) {
    const auto names = [&c](sd_bus_message* list) {
        int result = 0;
        for (const char* name : InterfaceNames(InterfacesOf(c.node)))
            if (result >= 0) result = sd_bus_message_append(list, "s", name);
        return result;
    };
    return ReplyWith(m, [&](sd_bus_message* reply) { return InContainer(reply, 'a', "s", names); });
}

#define NUDGEWICK_GETTER(name, signature, getter) SD_BUS_PROPERTY(name, signature, Get<getter>, 0, 0)
#define NUDGEWICK_METHOD(name, in, out, handler) SD_BUS_METHOD(name, in, out, Run<handler>, 0)

const sd_bus_vtable kAccessible[] = {SD_BUS_VTABLE_START(0),
                                     NUDGEWICK_GETTER("Name", "s", GetName),
                                     NUDGEWICK_GETTER("Description", "s", GetEmpty),
                                     NUDGEWICK_GETTER("Parent", "(so)", GetParent),
                                     NUDGEWICK_GETTER("ChildCount", "i", GetChildCount),
                                     NUDGEWICK_GETTER("Locale", "s", GetEmpty),
                                     NUDGEWICK_GETTER("AccessibleId", "s", GetAccessibleId),
                                     NUDGEWICK_METHOD("GetChildAtIndex", "i", "(so)", GetChildAtIndex),
                                     NUDGEWICK_METHOD("GetChildren", "", "a(so)", GetChildren),
                                     NUDGEWICK_METHOD("GetIndexInParent", "", "i", GetIndexInParent),
                                     NUDGEWICK_METHOD("GetRelationSet", "", "a(ua(so))", GetRelationSet),
                                     NUDGEWICK_METHOD("GetRole", "", "u", GetRole),
                                     NUDGEWICK_METHOD("GetRoleName", "", "s", GetRoleName),
                                     NUDGEWICK_METHOD("GetLocalizedRoleName", "", "s", GetRoleName),
                                     NUDGEWICK_METHOD("GetState", "", "au", GetState),
                                     NUDGEWICK_METHOD("GetAttributes", "", "a{ss}", GetAttributes),
                                     NUDGEWICK_METHOD("GetApplication", "", "(so)", GetApplication),
                                     NUDGEWICK_METHOD("GetInterfaces", "", "as", GetInterfaces),
                                     SD_BUS_VTABLE_END};

// ---- org.a11y.atspi.Application, on the root object

int GetToolkit(Call&, sd_bus_message* reply) { return sd_bus_message_append(reply, "s", "FLTK"); }
int GetToolkitVersion(Call&, sd_bus_message* reply) {
    const std::string version = std::to_string(FL_MAJOR_VERSION) + "." + std::to_string(FL_MINOR_VERSION) + "." +
                                std::to_string(FL_PATCH_VERSION);
    return sd_bus_message_append(reply, "s", version.c_str());
}
int GetAtspiVersion(Call&, sd_bus_message* reply) { return sd_bus_message_append(reply, "s", "2.1"); }
int GetId(Call& c, sd_bus_message* reply) { return sd_bus_message_append(reply, "i", c.bridge.ApplicationId()); }

// The registry numbers the application as it registers.
int SetId(sd_bus*, const char*, const char*, const char*, sd_bus_message* value, void* found, sd_bus_error* error) {
    std::int32_t id = 0;
    if (!Read(value, "i", &id)) return Refuse(error, "the id is a 32-bit integer");
    static_cast<AtspiBridge::NodeRef*>(found)->bridge->SetApplicationId(id);
    return 0;
}

int GetLocale(Call&, sd_bus_message* m, sd_bus_error* error) {
    std::uint32_t category = 0;
    if (!Read(m, "u", &category)) return Refuse(error, "the locale category is a number");
    const char* locale = std::setlocale(LC_CTYPE, nullptr);
    return Reply(m, "s", locale != nullptr ? locale : "");
}

// No peer-to-peer connection is offered: clients stay on the bus.
int GetApplicationBusAddress(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "s", ""); }

const sd_bus_vtable kApplication[] = {SD_BUS_VTABLE_START(0),
                                      NUDGEWICK_GETTER("ToolkitName", "s", GetToolkit),
                                      NUDGEWICK_GETTER("Version", "s", GetToolkitVersion),
                                      NUDGEWICK_GETTER("AtspiVersion", "s", GetAtspiVersion),
                                      SD_BUS_WRITABLE_PROPERTY("Id", "i", Get<GetId>, SetId, 0, 0),
                                      NUDGEWICK_METHOD("GetLocale", "u", "s", GetLocale),
                                      NUDGEWICK_METHOD("GetApplicationBusAddress", "", "s", GetApplicationBusAddress),
                                      SD_BUS_VTABLE_END};

// ---- org.a11y.atspi.Component

int Contains(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t x = 0, y = 0;
    CoordType type{};
    if (!Read(m, "ii", &x, &y) || !ReadCoordType(m, type)) return Refuse(error, "a point and a kind of coordinates");
    return Reply(m, "b", ExtentsOf(c.node, c.view, type).Contains(x, y) ? 1 : 0);
}

int GetAccessibleAtPoint(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t x = 0, y = 0;
    CoordType type{};
    if (!Read(m, "ii", &x, &y) || !ReadCoordType(m, type)) return Refuse(error, "a point and a kind of coordinates");
    return ReplyNode(m, c, ChildAt(c.node, c.view, x, y, type));
}

int GetExtents(Call& c, sd_bus_message* m, sd_bus_error* error) {
    CoordType type{};
    if (!ReadCoordType(m, type)) return Refuse(error, "unknown kind of coordinates");
    const Rect r = ExtentsOf(c.node, c.view, type);
    return Reply(m, "(iiii)", r.x, r.y, r.width, r.height);
}

int GetPosition(Call& c, sd_bus_message* m, sd_bus_error* error) {
    CoordType type{};
    if (!ReadCoordType(m, type)) return Refuse(error, "unknown kind of coordinates");
    const Rect r = ExtentsOf(c.node, c.view, type);
    return Reply(m, "ii", r.x, r.y);
}

int GetSize(Call& c, sd_bus_message* m, sd_bus_error*) {
    const Rect r = ExtentsOf(c.node, c.view, CoordType::Screen);
    return Reply(m, "ii", r.width, r.height);
}

int GetLayer(Call& c, sd_bus_message* m, sd_bus_error*) {
    return Reply(m, "u", WindowOf(c.node) == c.node ? kLayerWindow : kLayerWidget);
}

int GetMdiZOrder(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "n", std::int16_t{-1}); }
int GetAlpha(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "d", 1.0); }

// The answer comes first; the focus moves after, as a click would move it.
int GrabFocus(Call& c, sd_bus_message* m, sd_bus_error*) {
    const bool can = HasState(c.node, c.view, AccessibleState::Focusable) && CanAct(c.node, c.view);
    const int result = Reply(m, "b", can ? 1 : 0);
    if (can) c.bridge.Window().Focus(c.node);
    return result;
}

// The window keeps its size and place, and nothing scrolls.
int Decline(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "b", 0); }

const sd_bus_vtable kComponent[] = {SD_BUS_VTABLE_START(0),
                                    NUDGEWICK_METHOD("Contains", "iiu", "b", Contains),
                                    NUDGEWICK_METHOD("GetAccessibleAtPoint", "iiu", "(so)", GetAccessibleAtPoint),
                                    NUDGEWICK_METHOD("GetExtents", "u", "(iiii)", GetExtents),
                                    NUDGEWICK_METHOD("GetPosition", "u", "ii", GetPosition),
                                    NUDGEWICK_METHOD("GetSize", "", "ii", GetSize),
                                    NUDGEWICK_METHOD("GetLayer", "", "u", GetLayer),
                                    NUDGEWICK_METHOD("GetMDIZOrder", "", "n", GetMdiZOrder),
                                    NUDGEWICK_METHOD("GrabFocus", "", "b", GrabFocus),
                                    NUDGEWICK_METHOD("GetAlpha", "", "d", GetAlpha),
                                    NUDGEWICK_METHOD("SetExtents", "iiiiu", "b", Decline),
                                    NUDGEWICK_METHOD("SetPosition", "iiu", "b", Decline),
                                    NUDGEWICK_METHOD("SetSize", "ii", "b", Decline),
                                    NUDGEWICK_METHOD("ScrollTo", "u", "b", Decline),
                                    NUDGEWICK_METHOD("ScrollToPoint", "uii", "b", Decline),
                                    SD_BUS_VTABLE_END};

// ---- org.a11y.atspi.Text, on the boxes

const BoxView& Box(const Call& c) { return *BoxOf(c.node, c.view); }

int GetCharacterCount(Call& c, sd_bus_message* reply) {
    return sd_bus_message_append(reply, "i", CharacterCount(Box(c).text));
}
int GetCaretOffset(Call& c, sd_bus_message* reply) { return sd_bus_message_append(reply, "i", Box(c).caret); }

int GetText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t start = 0, end = 0;
    if (!Read(m, "ii", &start, &end)) return Refuse(error, "a range is two offsets");
    return Reply(m, "s", TextBetween(Box(c).text, start, end).c_str());
}

// A caret or selection put by a client is put as by the mouse: not while a
// message is open.
int SetCaretOffset(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    if (!Read(m, "i", &offset)) return Refuse(error, "an offset is an integer");
    if (!CanAct(c.node, c.view)) return Reply(m, "b", 0);
    const int at = RangeIn(Box(c).text, offset, offset).start;
    c.bridge.Window().Select(c.node, at, at);
    return Reply(m, "b", 1);
}

int ReplySpan(sd_bus_message* m, const TextSpan& span) {
    return Reply(m, "sii", span.text.c_str(), span.start, span.end);
}

template <TextSide side>
int GetTextBy(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    std::uint32_t boundary = 0;
    if (!Read(m, "iu", &offset, &boundary) || !ToTextBoundary(boundary)) return Refuse(error, "unknown boundary");
    return ReplySpan(m, TextAround(Box(c).text, offset, *ToTextBoundary(boundary), side));
}

int GetStringAtOffset(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    std::uint32_t granularity = 0;
    if (!Read(m, "iu", &offset, &granularity) || !ToTextGranularity(granularity))
        return Refuse(error, "unknown granularity");
    return ReplySpan(m, TextUnitAt(Box(c).text, offset, *ToTextGranularity(granularity)));
}

int GetCharacterAtOffset(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    if (!Read(m, "i", &offset)) return Refuse(error, "an offset is an integer");
    return Reply(m, "i", CodePointAt(Box(c).text, offset).value_or(0));
}

// The boxes' text is plain: no attributes, one run over the whole text.
int GetAttributeValue(Call&, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    const char* name = nullptr;
    if (!Read(m, "is", &offset, &name)) return Refuse(error, "an offset and a name");
    return Reply(m, "s", "");
}

int GetTextAttributes(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    if (!Read(m, "i", &offset)) return Refuse(error, "an offset is an integer");
    return Reply(m, "a{ss}ii", 0, 0, CharacterCount(Box(c).text));
}

int GetAttributeRun(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    int withDefaults = 0;
    if (!Read(m, "ib", &offset, &withDefaults)) return Refuse(error, "an offset and a flag");
    return Reply(m, "a{ss}ii", 0, 0, CharacterCount(Box(c).text));
}

int GetDefaultAttributes(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "a{ss}", 0); }

int ReplyRect(sd_bus_message* m, const Rect& r) { return Reply(m, "iiii", r.x, r.y, r.width, r.height); }

CharacterPlace Places(const Call& c) {
    return [&c](int offset) { return c.bridge.Window().CharacterExtents(c.node, offset); };
}

int GetCharacterExtents(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t offset = 0;
    CoordType type{};
    if (!Read(m, "i", &offset) || !ReadCoordType(m, type)) return Refuse(error, "an offset and a kind of coordinates");
    const auto place = PlaceOfCharacter(Box(c).text, offset, Places(c));
    return ReplyRect(m, place ? InCoordinates(*place, c.node, c.view, type) : Rect{});
}

int GetRangeExtents(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t start = 0, end = 0;
    CoordType type{};
    if (!Read(m, "ii", &start, &end) || !ReadCoordType(m, type))
        return Refuse(error, "a range and a kind of coordinates");
    const auto place = PlaceOfRange(Box(c).text, start, end, Places(c));
    return ReplyRect(m, place ? InCoordinates(*place, c.node, c.view, type) : Rect{});
}

int GetOffsetAtPoint(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t x = 0, y = 0;
    CoordType type{};
    if (!Read(m, "ii", &x, &y) || !ReadCoordType(m, type)) return Refuse(error, "a point and a kind of coordinates");
    const ScreenPoint point = OnScreen(c.node, c.view, x, y, type);
    return Reply(m, "i", c.bridge.Window().OffsetAtPoint(c.node, point.x, point.y));
}

int GetNSelections(Call& c, sd_bus_message* m, sd_bus_error*) {
    return Reply(m, "i", static_cast<int>(SelectionsOf(Box(c)).size()));
}

int GetSelection(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t number = 0;
    const auto selections = SelectionsOf(Box(c));
    if (!Read(m, "i", &number) || number < 0 || static_cast<std::size_t>(number) >= selections.size())
        return Refuse(error, "no such selection");
    return Reply(m, "ii", selections[static_cast<std::size_t>(number)].start,
                 selections[static_cast<std::size_t>(number)].end);
}

int Select(Call& c, sd_bus_message* m, SelectionCall call, std::int32_t number, std::int32_t start, std::int32_t end) {
    const auto range = SelectionAfter(Box(c), call, number, start, end);
    if (!range || !CanAct(c.node, c.view)) return Reply(m, "b", 0);
    c.bridge.Window().Select(c.node, range->start, range->end);
    return Reply(m, "b", 1);
}

int AddSelection(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t start = 0, end = 0;
    if (!Read(m, "ii", &start, &end)) return Refuse(error, "a range is two offsets");
    return Select(c, m, SelectionCall::Add, 0, start, end);
}

int SetSelection(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t number = 0, start = 0, end = 0;
    if (!Read(m, "iii", &number, &start, &end)) return Refuse(error, "a number and a range");
    return Select(c, m, SelectionCall::Set, number, start, end);
}

int RemoveSelection(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t number = 0;
    if (!Read(m, "i", &number)) return Refuse(error, "a selection's number is an integer");
    return Select(c, m, SelectionCall::Remove, number, 0, 0);
}

int GetBoundedRanges(Call&, sd_bus_message* m, sd_bus_error*) { return Reply(m, "a(iisv)", 0); }

const sd_bus_vtable kText[] = {SD_BUS_VTABLE_START(0),
                               NUDGEWICK_GETTER("CharacterCount", "i", GetCharacterCount),
                               NUDGEWICK_GETTER("CaretOffset", "i", GetCaretOffset),
                               NUDGEWICK_METHOD("GetText", "ii", "s", GetText),
                               NUDGEWICK_METHOD("SetCaretOffset", "i", "b", SetCaretOffset),
                               NUDGEWICK_METHOD("GetTextBeforeOffset", "iu", "sii", GetTextBy<TextSide::Before>),
                               NUDGEWICK_METHOD("GetTextAtOffset", "iu", "sii", GetTextBy<TextSide::At>),
                               NUDGEWICK_METHOD("GetTextAfterOffset", "iu", "sii", GetTextBy<TextSide::After>),
                               NUDGEWICK_METHOD("GetStringAtOffset", "iu", "sii", GetStringAtOffset),
                               NUDGEWICK_METHOD("GetCharacterAtOffset", "i", "i", GetCharacterAtOffset),
                               NUDGEWICK_METHOD("GetAttributeValue", "is", "s", GetAttributeValue),
                               NUDGEWICK_METHOD("GetAttributes", "i", "a{ss}ii", GetTextAttributes),
                               NUDGEWICK_METHOD("GetDefaultAttributes", "", "a{ss}", GetDefaultAttributes),
                               NUDGEWICK_METHOD("GetDefaultAttributeSet", "", "a{ss}", GetDefaultAttributes),
                               NUDGEWICK_METHOD("GetAttributeRun", "ib", "a{ss}ii", GetAttributeRun),
                               NUDGEWICK_METHOD("GetCharacterExtents", "iu", "iiii", GetCharacterExtents),
                               NUDGEWICK_METHOD("GetRangeExtents", "iiu", "iiii", GetRangeExtents),
                               NUDGEWICK_METHOD("GetOffsetAtPoint", "iiu", "i", GetOffsetAtPoint),
                               NUDGEWICK_METHOD("GetNSelections", "", "i", GetNSelections),
                               NUDGEWICK_METHOD("GetSelection", "i", "ii", GetSelection),
                               NUDGEWICK_METHOD("AddSelection", "ii", "b", AddSelection),
                               NUDGEWICK_METHOD("RemoveSelection", "i", "b", RemoveSelection),
                               NUDGEWICK_METHOD("SetSelection", "iii", "b", SetSelection),
                               NUDGEWICK_METHOD("GetBoundedRanges", "iiiiuuu", "a(iisv)", GetBoundedRanges),
                               NUDGEWICK_METHOD("ScrollSubstringTo", "iiu", "b", Decline),
                               NUDGEWICK_METHOD("ScrollSubstringToPoint", "iiuii", "b", Decline),
                               SD_BUS_VTABLE_END};

// ---- org.a11y.atspi.EditableText: edits as typed, taken when the focus
// leaves the box, as a typed value is.

int Edit(Call& c, sd_bus_message* m, const CharacterRange& range, std::string_view text) {
    const bool done = CanAct(c.node, c.view) && c.bridge.Window().Replace(c.node, range.start, range.end, text);
    return Reply(m, "b", done ? 1 : 0);
}

int SetTextContents(Call& c, sd_bus_message* m, sd_bus_error* error) {
    const char* text = nullptr;
    if (!Read(m, "s", &text)) return Refuse(error, "the text is a string");
    return Edit(c, m, RangeIn(Box(c).text, 0, -1), text);
}

int InsertText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t position = 0, length = 0;
    const char* text = nullptr;
    if (!Read(m, "isi", &position, &text, &length)) return Refuse(error, "a position, a text and its length");
    const int at = RangeIn(Box(c).text, position, position).start;
    return Edit(c, m, {at, at}, WholeCharacters(text, length));
}

int ReadRange(Call& c, sd_bus_message* m, CharacterRange& range) {
    std::int32_t start = 0, end = 0;
    if (!Read(m, "ii", &start, &end)) return -1;
    range = RangeIn(Box(c).text, start, end);
    return 0;
}

int CopyText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    CharacterRange range;
    if (ReadRange(c, m, range) < 0) return Refuse(error, "a range is two offsets");
    if (range.start != range.end) c.bridge.Window().Copy(TextBetween(Box(c).text, range.start, range.end));
    return Reply(m, "");
}

int CutText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    CharacterRange range;
    if (ReadRange(c, m, range) < 0) return Refuse(error, "a range is two offsets");
    if (CanAct(c.node, c.view) && range.start != range.end)
        c.bridge.Window().Copy(TextBetween(Box(c).text, range.start, range.end));
    return Edit(c, m, range, "");
}

int DeleteText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    CharacterRange range;
    if (ReadRange(c, m, range) < 0) return Refuse(error, "a range is two offsets");
    return Edit(c, m, range, "");
}

int PasteText(Call& c, sd_bus_message* m, sd_bus_error* error) {
    std::int32_t position = 0;
    if (!Read(m, "i", &position)) return Refuse(error, "a position is an integer");
    if (!CanAct(c.node, c.view)) return Reply(m, "b", 0);
    c.bridge.Window().Paste(c.node, RangeIn(Box(c).text, position, position).start);
    return Reply(m, "b", 1);
}

const sd_bus_vtable kEditableText[] = {SD_BUS_VTABLE_START(0),
                                       NUDGEWICK_METHOD("SetTextContents", "s", "b", SetTextContents),
                                       NUDGEWICK_METHOD("InsertText", "isi", "b", InsertText),
                                       NUDGEWICK_METHOD("CopyText", "ii", "", CopyText),
                                       NUDGEWICK_METHOD("CutText", "ii", "b", CutText),
                                       NUDGEWICK_METHOD("DeleteText", "ii", "b", DeleteText),
                                       NUDGEWICK_METHOD("PasteText", "i", "b", PasteText),
                                       SD_BUS_VTABLE_END};

// ---- org.a11y.atspi.Action: one action, a click or a jump

int GetActionCount(Call&, sd_bus_message* reply) { return sd_bus_message_append(reply, "i", 1); }

bool ReadActionIndex(sd_bus_message* m) {
    std::int32_t index = -1;
    return Read(m, "i", &index) && index == 0;
}

int GetActionName(Call& c, sd_bus_message* m, sd_bus_error* error) {
    if (!ReadActionIndex(m)) return Refuse(error, "there is one action, number 0");
    return Reply(m, "s", *ActionNameOf(c.node));
}

int GetActionEmpty(Call&, sd_bus_message* m, sd_bus_error* error) {
    if (!ReadActionIndex(m)) return Refuse(error, "there is one action, number 0");
    return Reply(m, "s", "");
}

int GetActions(Call& c, sd_bus_message* m, sd_bus_error*) {
    return Reply(m, "a(sss)", 1, *ActionNameOf(c.node), "", "");
}

// Answered first; the click follows, outside the bus's handler, since it may
// open a message that waits for the user.
int DoAction(Call& c, sd_bus_message* m, sd_bus_error* error) {
    if (!ReadActionIndex(m)) return Refuse(error, "there is one action, number 0");
    const bool can = CanAct(c.node, c.view);
    const int result = Reply(m, "b", can ? 1 : 0);
    if (can) c.bridge.Window().Act(c.node);
    return result;
}

const sd_bus_vtable kAction[] = {SD_BUS_VTABLE_START(0),
                                 NUDGEWICK_GETTER("NActions", "i", GetActionCount),
                                 NUDGEWICK_METHOD("GetName", "i", "s", GetActionName),
                                 NUDGEWICK_METHOD("GetLocalizedName", "i", "s", GetActionName),
                                 NUDGEWICK_METHOD("GetDescription", "i", "s", GetActionEmpty),
                                 NUDGEWICK_METHOD("GetKeyBinding", "i", "s", GetActionEmpty),
                                 NUDGEWICK_METHOD("GetActions", "", "a(sss)", GetActions),
                                 NUDGEWICK_METHOD("DoAction", "i", "b", DoAction),
                                 SD_BUS_VTABLE_END};

#undef NUDGEWICK_METHOD
#undef NUDGEWICK_GETTER

// ---- org.a11y.atspi.Cache: nothing cached; clients ask each object.

const sd_bus_vtable kCache[] = {SD_BUS_VTABLE_START(0),
                                SD_BUS_METHOD(
                                    "GetItems", "", "a((so)(so)(so)iiassusau)",
                                    [](sd_bus_message* m, void*, sd_bus_error*) {
                                        return sd_bus_reply_method_return(m, "a((so)(so)(so)iiassusau)", 0);
                                    },
                                    0),
                                SD_BUS_VTABLE_END};

// Each interface's table, in the order of kInterfaceNames.
constexpr std::array<const sd_bus_vtable*, kInterfaceNames.size()> kInterfaces{kAccessible, kApplication,  kComponent,
                                                                               kText,       kEditableText, kAction};

// Which object a path names, if it exists now and has the interface asked for.
int Find(sd_bus*, const char* path, const char* interface, void* bridge, void** found, sd_bus_error*) {
    auto* self = static_cast<AtspiBridge*>(bridge);
    const auto node = NodeAtPath(path);
    if (!node) return 0;
    self->ReadCalledView();
    if (!Exists(*node, self->CalledView())) return 0;
    for (const char* name : InterfaceNames(InterfacesOf(*node)))
        if (std::strcmp(name, interface) == 0) {
            *found = self->Ref(*node);
            return 1;
        }
    return 0;
}

// The event's interface, member and detail as AT-SPI names them.
struct EventWords {
    const char* interface;
    const char* member;
    const char* detail;
};

const char* StateName(AccessibleState state) {
    switch (state) {
    case AccessibleState::Active: return "active";
    case AccessibleState::Focused: return "focused";
    case AccessibleState::Showing: return "showing";
    case AccessibleState::Visible: return "visible";
    default: return "";
    }
}

EventWords WordsOf(const AccessibleEvent& event) {
    constexpr const char* object = "org.a11y.atspi.Event.Object";
    constexpr const char* window = "org.a11y.atspi.Event.Window";
    using Kind = AccessibleEventKind;
    switch (event.kind) {
    case Kind::StateChanged: return {object, "StateChanged", StateName(event.state)};
    case Kind::Focus: return {"org.a11y.atspi.Event.Focus", "Focus", ""};
    case Kind::WindowCreate: return {window, "Create", ""};
    case Kind::WindowActivate: return {window, "Activate", ""};
    case Kind::WindowDeactivate: return {window, "Deactivate", ""};
    case Kind::WindowDestroy: return {window, "Destroy", ""};
    case Kind::ChildAdded: return {object, "ChildrenChanged", "add"};
    case Kind::ChildRemoved: return {object, "ChildrenChanged", "remove"};
    case Kind::TextInserted: return {object, "TextChanged", "insert"};
    case Kind::TextDeleted: return {object, "TextChanged", "delete"};
    case Kind::CaretMoved: return {object, "TextCaretMoved", ""};
    case Kind::SelectionChanged: return {object, "TextSelectionChanged", ""};
    case Kind::NameChanged: return {object, "PropertyChange", "accessible-name"};
    }
    return {object, "", ""};
}

}  // namespace

std::unique_ptr<AtspiBridge> AtspiBridge::Connect(const std::string& address, AccessibleWindow& window) {
    auto connection = DbusSessionBus::Connect(address);
    if (connection == nullptr) return nullptr;
    std::unique_ptr<AtspiBridge> bridge(new AtspiBridge(std::move(connection), window));
    if (bridge->uniqueName_.empty()) return nullptr;
    return bridge;
}

// The bus gives the connection its name in answer to the first message: the
// one wait, for the local bus daemon, before the registry can be told it.
AtspiBridge::AtspiBridge(std::unique_ptr<DbusSessionBus> connection, AccessibleWindow& window)
    : connection_(std::move(connection)), window_(window), last_(window.View()) {
    for (std::size_t i = 0; i < refs_.size(); ++i) refs_[i] = {this, static_cast<Node>(i)};
    sd_bus* const bus = connection_->Bus();
    const char* name = nullptr;
    if (sd_bus_get_unique_name(bus, &name) < 0) return;
    uniqueName_ = name;
    for (std::size_t i = 0; i < kInterfaces.size(); ++i) {
        sd_bus_slot* slot = nullptr;
        if (sd_bus_add_fallback_vtable(bus, &slot, kObjects, kInterfaceNames[i], kInterfaces[i], Find, this) >= 0)
            objects_.push_back(slot);
    }
    sd_bus_slot* cache = nullptr;
    if (sd_bus_add_object_vtable(bus, &cache, "/org/a11y/atspi/cache", "org.a11y.atspi.Cache", kCache, this) >= 0)
        objects_.push_back(cache);
    Embed();
    connection_->Process();
}

AtspiBridge::~AtspiBridge() {
    for (auto& key : keys_) sd_bus_slot_unref(key.slot);
    sd_bus_slot_unref(embedding_);
    for (sd_bus_slot* slot : objects_) sd_bus_slot_unref(slot);
}

AtspiBridge::NodeRef* AtspiBridge::Ref(Node node) { return &refs_[static_cast<std::size_t>(node)]; }

// The registry (started by the bus at this first call) adds the application
// to the desktop and names its parent.
void AtspiBridge::Embed() {
    sd_bus_call_method_async(
        connection_->Bus(), &embedding_, kRegistry, AccessiblePath(Node::Application).c_str(), "org.a11y.atspi.Socket",
        "Embed",
        [](sd_bus_message* reply, void* self, sd_bus_error*) {
            return static_cast<AtspiBridge*>(self)->OnEmbedded(reply);
        },
        this, "(so)", uniqueName_.c_str(), AccessiblePath(Node::Application).c_str());
}

int AtspiBridge::OnEmbedded(sd_bus_message* reply) {
    embedding_ = sd_bus_slot_unref(embedding_);
    const char *name = nullptr, *path = nullptr;
    if (sd_bus_message_is_method_error(reply, nullptr) || sd_bus_message_read(reply, "(so)", &name, &path) < 0) {
        std::fprintf(
            stderr, "nudgewick: the accessibility registry did not take the window: %s\n",
            sd_bus_message_get_error(reply) != nullptr ? sd_bus_message_get_error(reply)->message : "no answer");
        return 0;
    }
    desktopName_ = name;
    desktopPath_ = path;
    return 0;
}

void AtspiBridge::Refresh() {
    AccessibleView now = window_.View();
    if (now == last_) return;
    for (const auto& event : EventsBetween(last_, now)) Emit(event, now);
    last_ = std::move(now);
    connection_->Rearm();
}

// Each event carries its source's detail, two numbers, a value and the
// application's reference.
void AtspiBridge::Emit(const AccessibleEvent& event, const AccessibleView& view) {
    const EventWords words = WordsOf(event);
    sd_bus_message* signal = nullptr;
    int result = sd_bus_message_new_signal(connection_->Bus(), &signal, AccessiblePath(event.source).c_str(),
                                           words.interface, words.member);
    if (result >= 0) result = sd_bus_message_append(signal, "sii", words.detail, event.detail1, event.detail2);
    if (result >= 0) {
        using Kind = AccessibleEventKind;
        switch (event.kind) {
        case Kind::ChildAdded:
        case Kind::ChildRemoved:
            result = InContainer(signal, 'v', "(so)", [&](sd_bus_message* child) {
                return AppendReference(child, uniqueName_, AccessiblePath(*event.child));
            });
            break;
        case Kind::TextInserted:
        case Kind::TextDeleted:
        case Kind::NameChanged: result = sd_bus_message_append(signal, "v", "s", event.text.c_str()); break;
        case Kind::WindowCreate:
        case Kind::WindowActivate:
        case Kind::WindowDeactivate:
        case Kind::WindowDestroy:
            result = sd_bus_message_append(signal, "v", "s", NameOf(event.source, view).c_str());
            break;
        default: result = sd_bus_message_append(signal, "v", "i", 0); break;
        }
    }
    if (result >= 0) result = AppendReference(signal, uniqueName_, AccessiblePath(Node::Application));
    if (result >= 0) sd_bus_send(connection_->Bus(), signal, nullptr);
    sd_bus_message_unref(signal);
}

void AtspiBridge::NotifyKey(const DeviceEvent& key, std::function<void(bool consumed)> done) {
    sd_bus* const bus = connection_->Bus();
    sd_bus_message* call = nullptr;
    int result = sd_bus_message_new_method_call(bus, &call, kRegistry, "/org/a11y/atspi/registry/deviceeventcontroller",
                                                "org.a11y.atspi.DeviceEventController", "NotifyListenersSync");
    if (result >= 0)
        result = sd_bus_message_append(call, "(uinnisb)", key.type, key.id, key.hardwareCode, key.modifiers,
                                       key.timestamp, key.text.c_str(), key.isText ? 1 : 0);
    auto& pending = keys_.emplace_back(PendingKey{this, nullptr, std::move(done)});
    const auto answered = [](sd_bus_message* reply, void* waiting, sd_bus_error*) {
        auto* const pendingKey = static_cast<PendingKey*>(waiting);
        pendingKey->bridge->OnKeyAnswer(pendingKey, reply);
        return 0;
    };
    if (result >= 0) result = sd_bus_call_async(bus, &pending.slot, call, answered, &pending, kKeyAnswerMicroseconds);
    sd_bus_message_unref(call);
    if (result < 0) {
        const auto unanswered = std::move(pending.done);
        keys_.pop_back();
        return unanswered(false);
    }
    connection_->Rearm();
}

// An error (no registry, no answer in time) leaves the key to the window.
void AtspiBridge::OnKeyAnswer(PendingKey* key, sd_bus_message* reply) {
    int consumed = 0;
    if (sd_bus_message_is_method_error(reply, nullptr) || sd_bus_message_read(reply, "b", &consumed) < 0) consumed = 0;
    const auto done = std::move(key->done);
    sd_bus_slot_unref(key->slot);
    keys_.remove_if([key](const PendingKey& k) { return &k == key; });
    done(consumed != 0);
}

}  // namespace nudgewick::linux_desktop
