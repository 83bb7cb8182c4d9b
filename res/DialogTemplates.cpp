// The dialog templates of the program, as its resource script would give them.
#include "platform/dialogs/DialogIds.h"
#include "res/Resources.h"
#include "res/resource.h"

#include <array>

namespace {

constexpr DWORD kButton = WS_TABSTOP;
constexpr DWORD kNumberEdit = WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;

const DialogTemplate kConfig{
    IDD_CONFIG, "Quorl Configuration", 214, 97, "MS Sans Serif", 8,
    {
        {IDOK, ControlKind::DefPushButton, "OK", 171, 59, 36, 13, kButton},
        {IDCANCEL, ControlKind::PushButton, "Cancel", 171, 77, 36, 13, kButton},
        {IDC_FONT, ControlKind::PushButton, "Font...", 7, 7, 66, 13, kButton},
        {IDC_GIFBACKGROUNDS, ControlKind::PushButton, "GIF Backgrounds...", 7, 24, 66, 13, kButton},
        {IDC_DELAY, ControlKind::Edit, "", 180, 7, 27, 14, kNumberEdit},
        {IDC_STATIC, ControlKind::Text, "Quorl Timer (seconds):", 96, 9, 74, 8},
        {IDC_STATIC, ControlKind::Icon, "", 103, 70, 21, 20, 0, IDI_QUORL},
        {IDC_FILLCOLOR, ControlKind::PushButton, "Fill Color...", 7, 57, 66, 13, kButton},
        {IDC_ABOUT, ControlKind::PushButton, "About...", 7, 77, 48, 13, kButton},
        {IDC_GIFDELAY, ControlKind::Edit, "", 180, 22, 27, 14, kNumberEdit},
        {IDC_STATIC, ControlKind::Text, "Background Timer (sec):", 96, 25, 82, 10},
        {IDC_BACKCOLOR, ControlKind::PushButton, "Background Color...", 7, 41, 66, 12, kButton},
    }};

// The last three lines of the About text are ours to word; the rest names the
// saver and says what it does.
const DialogTemplate kAbout{
    IDD_ABOUTBOX, "About Quorl Screen Saver", 256, 81, "MS Sans Serif", 8,
    {
        {IDC_STATIC, ControlKind::CenteredText,
         "Quorl Screen Saver\n"
         "Shows verses over GIF backgrounds of your own choosing.\n"
         "Copyright (c) Zovex. All rights reserved.\n"
         "You may pass this program on freely, as long as it is left unchanged.\n"
         "Write to Zovex at quorl@zovex.example",
         7, 7, 242, 42},
        {IDC_STATIC, ControlKind::Icon, "", 117, 55, 18, 20, 0, IDI_QUORL},
        {IDC_STATIC, ControlKind::Text, "Quorl " QUORL_VERSION, 7, 65, 39, 9},
        {IDC_SETUPINFO, ControlKind::PushButton, "Setup info!!!", 200, 60, 43, 14, kButton},
    }};

const DialogTemplate kMoreStuff{
    IDD_MORESTUFF, "More Stuff...", 239, 84, "MS Sans Serif", 8,
    {
        {IDC_LINEFILES, ControlKind::Text,
         "You may add (or remove) lines in the files FIVES.TXT and SEVENS.TXT. These files MUST reside in "
         "your Windows\\System directory. The first file contains lines with five syllables; and the second, "
         "lines with seven syllables.",
         7, 7, 225, 34},
        {IDC_STATIC, ControlKind::Text,
         "It is of no concern to the program what is actually in the files. It just reads lines and displays "
         "them. Please, no more than 1000 lines per file.",
         7, 43, 225, 21},
        {IDC_STATIC, ControlKind::Text, "Another edition of Quorl waits on the Zovex web page.", 7, 66, 225, 11},
    }};

const DialogTemplate kGifList{
    IDD_GIFLIST, "GIF List", 257, 119, "MS Sans Serif", 8,
    {
        {IDOK, ControlKind::DefPushButton, "OK", 192, 4, 58, 16, kButton},
        {IDCANCEL, ControlKind::PushButton, "Cancel", 192, 24, 58, 16, kButton},
        {IDC_GIFLIST, ControlKind::ListBox, "", 14, 16, 147, 86,
         LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP},
        {IDC_BROWSE, ControlKind::PushButton, "Browse For GIF...", 192, 56, 58, 16, kButton},
        {IDC_REMOVE, ControlKind::PushButton, "Remove from list", 192, 75, 58, 16, kButton},
        {IDC_ADDFOLDER, ControlKind::PushButton, "Add Folder...", 192, 94, 58, 16, kButton},
        {IDC_STATIC, ControlKind::GroupBox, "GIFs to show", 7, 4, 161, 101},
    }};

const std::array<const DialogTemplate*, 4> kTemplates{&kConfig, &kAbout, &kMoreStuff, &kGifList};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    for (const DialogTemplate* t : kTemplates)
        if (t->id == id)
            return t;
    return nullptr;
}
