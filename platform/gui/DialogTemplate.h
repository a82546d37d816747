#pragma once
// A window described as data, the way a dialog resource describes it: size
// and controls in dialog units, font, caption, style, and the numbered
// controls that the window's handlers find by id. DialogBuilder turns one
// into widgets.
//
//     const DialogTemplate kLogin{
//         .resource = 157, .caption = "  Login to Tessaly", .width = 174, .height = 199,
//         .controls = {
//             {.id = 1012, .kind = ControlKind::Edit, .rect = {60, 30, 100, 12}},
//             {.id = 1036, .kind = ControlKind::Edit, .rect = {60, 46, 100, 12}, .flags = ctl::Password},
//             {.id = 1003, .kind = ControlKind::PushButton, .rect = {20, 80, 50, 14},
//              .text = "Submit", .flags = ctl::DefaultButton},
//         }};

#include <optional>
#include <string>
#include <vector>

#include "platform/gui/DialogUnits.h"

namespace tessaly {

enum class ControlKind {
    Static,        // text; ctl::AlignRight, ctl::AlignCenter, ctl::Sunken
    GroupBox,      // frame with a caption; often with its own font
    PushButton,    // ctl::DefaultButton
    CheckBox,      // ctl::Checked, ctl::MultiLine (the text wraps)
    Edit,          // ctl::Password, ctl::ReadOnly, ctl::MultiLine, maxLength
    ListView,      // report view: ctl::SingleSelection, ctl::NoHeaderClick
    ComboBox,      // ctl::Editable
    Trackbar,      // range 0 to 100
    ProgressBar,   // range 0 to 100
    RichEdit,      // ctl::ReadOnly
    // The owner-drawn controls of the client. The builder makes them through
    // the factory that client/ui registers (skinDialogBuilder()).
    SkinButton,
    HotSpotButton,
    LinkTicker,
    AmountEdit,
};

// Control style bits; each names the kinds it applies to above.
namespace ctl {
inline constexpr unsigned Hidden = 1u << 0;          // hidden at start
inline constexpr unsigned Disabled = 1u << 1;
inline constexpr unsigned DefaultButton = 1u << 2;
inline constexpr unsigned Checked = 1u << 3;
inline constexpr unsigned MultiLine = 1u << 4;
inline constexpr unsigned Password = 1u << 5;
inline constexpr unsigned ReadOnly = 1u << 6;
inline constexpr unsigned AlignRight = 1u << 7;
inline constexpr unsigned AlignCenter = 1u << 8;
inline constexpr unsigned Sunken = 1u << 9;
inline constexpr unsigned VScroll = 1u << 10;
inline constexpr unsigned HScroll = 1u << 11;
inline constexpr unsigned SingleSelection = 1u << 12;
inline constexpr unsigned NoHeaderClick = 1u << 13;
inline constexpr unsigned Editable = 1u << 14;
inline constexpr unsigned NoBorder = 1u << 15;
} // namespace ctl

// Dialog style bits.
namespace dlg {
inline constexpr unsigned SystemMenu = 1u << 0;     // close box
inline constexpr unsigned MinimizeBox = 1u << 1;
inline constexpr unsigned Resizable = 1u << 2;      // otherwise the size is fixed
inline constexpr unsigned HandCursorOverButtons = 1u << 3;
} // namespace dlg

// A typeface as the windows name it ("MS Shell Dlg", "Verdana", "Arial Bold"),
// mapped to an installed family by installedFace().
struct FontSpec {
    std::string face = "MS Shell Dlg";
    double points = 8;
    int weight = 400;   // 400 normal, 700 bold
};

struct ControlTemplate {
    int id = -1;                     // -1: a label that no handler looks up
    ControlKind kind = ControlKind::Static;
    UnitRect rect{};
    std::string text{};              // "\r\n" or "\r" break lines
    unsigned flags = 0;              // ctl:: bits
    int maxLength = 0;               // Edit: characters the user may type, 0 = no limit
    std::optional<FontSpec> font{};  // a font of its own (group box captions)
};

struct MenuItem {
    std::string text{};              // "&" marks the mnemonic
    int id = 0;                      // command id; 0 for a submenu or a separator
    bool grayed = false;
    bool checked = false;            // ticked (and so checkable)
    bool separator = false;
    std::vector<MenuItem> items{};   // not empty: a submenu
};

struct MenuTemplate {
    int resource = 0;
    std::vector<MenuItem> items{};   // the bar, or the popups of a context menu
};

struct DialogTemplate {
    int resource = 0;
    std::string caption{};
    int width = 0;                   // client area in dialog units
    int height = 0;
    FontSpec font{};
    unsigned flags = dlg::SystemMenu; // dlg:: bits
    int icon = 128;                  // icon resource, large and small; 0 for none
    const MenuTemplate* menu = nullptr;   // menu bar above the client area
    std::vector<ControlTemplate> controls{};
};

} // namespace tessaly
