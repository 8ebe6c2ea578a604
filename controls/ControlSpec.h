#pragma once

// One row of a window's layout table: a control as the window designer placed it.
enum class ControlKind
{
    PictureBox,
    Image,
    Label,
    TextBox,
    ComboBox,
    OptionButton,
    Frame,
    Line,
    WebBrowser,
    NavigationBar,
    ToolsMenu,
};

enum class ControlState
{
    On,
    Disabled,
    Hidden
};

struct ControlSpec
{
    const char *name; // designer name
    int index;        // index in a control array, -1 outside arrays
    ControlKind kind;
    const char *container;          // designer name of the container; nullptr for the window itself
    int left, top, width, height;   // twips, relative to the container
    const char16_t *text;           // caption or text, nullptr for none
    const char16_t *items;          // list items of a combo box, separated by '\n'
    const char *picture;            // resource path of the picture
    const char16_t *accessibleName; // what a screen reader says for pictures, text and combo boxes
    ControlState state;
    int tabIndex;              // -1 where the control takes no tab index
    const char *key = nullptr; // key of a picture's or label's click; none where a click does nothing
};

const char *controlKindName(ControlKind kind);
