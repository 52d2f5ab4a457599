// The icons the owner-drawn buttons show: the delete and edit glyphs of the
// interpretation forms, the arrows of the comment editors, the step
// buttons of the enlarged views and the exercise strips' 3D and playback buttons. Registered with the library's module beside
// its other resources (a second registration adds to the first).
#include <cstdint>
#include <string>

#include "platform/ui/windowing/Resources.h"
#include "resources/ButtonIconIds.h"

namespace {

// Icons are drawn as 16 x 16 text pictures; each character names a colour
// of the classic 16-colour palette, anything else is transparent.
uint32_t PaletteColour(char c)
{
    switch (c) {
    case '#': return 0xFF000000u;   // black
    case 'w': return 0xFFFFFFFFu;   // white
    case 'r': return 0xFFC00000u;   // dark red
    case 'R': return 0xFFFF0000u;   // red
    case 'b': return 0xFF000080u;   // navy
    case 'B': return 0xFF3060E0u;   // blue
    case 'y': return 0xFFFFD040u;   // yellow
    case 'g': return 0xFF808080u;   // grey
    case 'G': return 0xFFC0C0C0u;   // silver
    default: return 0x00000000u;
    }
}

platform::ui::ResourceImage IconFromPicture(const char* const (&rows)[16])
{
    platform::ui::ResourceImage icon;
    icon.width = icon.height = 16;
    icon.hotX = icon.hotY = 8;
    icon.argb.reserve(16 * 16);
    for (const char* row : rows) {
        const std::string line(row);
        for (size_t x = 0; x < 16; ++x) icon.argb.push_back(PaletteColour(x < line.size() ? line[x] : ' '));
    }
    return icon;
}

const char* const kDelete[16] = {
    "                ", "  RR        RR  ", " RRRR      RRRR ", "  RRRR    RRRR  ",
    "   RRRR  RRRR   ", "    RRRRRRRR    ", "     RRRRRR     ", "      RRRR      ",
    "     RRRRRR     ", "    RRRRRRRR    ", "   RRRR  RRRR   ", "  RRRR    RRRR  ",
    " RRRR      RRRR ", "  RR        RR  ", "                ", "                ",
};

const char* const kEdit[16] = {
    "           ##   ", "          #RR#  ", "         #yRRR# ", "        #yyy##  ",
    "       #yyy#    ", "      #yyy#     ", "     #yyy#      ", "    #yyy#       ",
    "   #yyy#        ", "  #GGy#         ", "  #GG#          ", " ##G#           ",
    " ###            ", "                ", " bbbbbbbbbbbbbb ", "                ",
};

const char* const kUp[16] = {
    "                ", "       ##       ", "      #BB#      ", "     #BBBB#     ",
    "    #BBBBBB#    ", "   #BBBBBBBB#   ", "  #BBBBBBBBBB#  ", " ####BBBBBB#### ",
    "    #BBBBBB#    ", "    #BBBBBB#    ", "    #BBBBBB#    ", "    #BBBBBB#    ",
    "    #BBBBBB#    ", "    ########    ", "                ", "                ",
};

const char* const kDown[16] = {
    "                ", "                ", "    ########    ", "    #BBBBBB#    ",
    "    #BBBBBB#    ", "    #BBBBBB#    ", "    #BBBBBB#    ", "    #BBBBBB#    ",
    " ####BBBBBB#### ", "  #BBBBBBBBBB#  ", "   #BBBBBBBB#   ", "    #BBBBBB#    ",
    "     #BBBB#     ", "      #BB#      ", "       ##       ", "                ",
};

const char* const kRuler[16] = {
    "                ", "                ", "                ", "################",
    "#yyyyyyyyyyyyyy#", "#y#y#y#y#y#y#y##", "#y#y#y#y#y#y#y##", "#y#yyy#yyy#yyy##",
    "#y#yyy#yyy#yyy##", "#yyyyyyyyyyyyyy#", "#yyyyyyyyyyyyyy#", "################",
    "                ", "                ", "                ", "                ",
};

const char* const kDrag[16] = {
    "      ##        ", "   ## #w# ##    ", "  #w##w#w#ww#   ", "  #w##w#w#w#w#  ",
    "   #w#w#w#w#w#  ", "   #w#w#w#w#w#  ", " ## #wwwwwww#w# ", "#ww##wwwwwwwww# ",
    "#www#wwwwwwwww# ", " #wwwwwwwwwwww# ", "  #wwwwwwwwwww# ", "  #wwwwwwwwww#  ",
    "   #wwwwwwwww#  ", "    #wwwwwww#   ", "    #wwwwwww#   ", "                ",
};

const char* const kZoomIn[16] = {
    "    ####        ", "  ##wwww##      ", " #wwwwwwww#     ", " #www##www#     ",
    "#wwww##wwww#    ", "#w########w#    ", "#w########w#    ", "#wwww##wwww#    ",
    " #www##www#     ", " #wwwwwwww#     ", "  ##wwww####    ", "    ####  ###   ",
    "          ###   ", "           ###  ", "            ### ", "             ## ",
};

const char* const kZoomOut[16] = {
    "    ####        ", "  ##wwww##      ", " #wwwwwwww#     ", " #wwwwwwww#     ",
    "#wwwwwwwwww#    ", "#w########w#    ", "#w########w#    ", "#wwwwwwwwww#    ",
    " #wwwwwwww#     ", " #wwwwwwww#     ", "  ##wwww####    ", "    ####  ###   ",
    "          ###   ", "           ###  ", "            ### ", "             ## ",
};

const char* const kTiltUp[16] = {
    "                ", "       ##       ", "      #bb#      ", "     #bbbb#     ",
    "    #bbbbbb#    ", "   #bbbbbbbb#   ", "  #bbbbbbbbbb#  ", " ############## ",
    "                ", "       ##       ", "      #BB#      ", "     #BBBB#     ",
    "    #BBBBBB#    ", "   ##########   ", "                ", "                ",
};

const char* const kTiltDown[16] = {
    "                ", "                ", "   ##########   ", "    #BBBBBB#    ",
    "     #BBBB#     ", "      #BB#      ", "       ##       ", "                ",
    " ############## ", "  #bbbbbbbbbb#  ", "   #bbbbbbbb#   ", "    #bbbbbb#    ",
    "     #bbbb#     ", "      #bb#      ", "       ##       ", "                ",
};

const char* const kTurnLeft[16] = {
    "                ", "     #          ", "    ##          ", "   #B#######    ",
    "  #BBBBBBBBBB#  ", "   #B######BB#  ", "    ##     #BB# ", "     #      #B# ",
    "            #B# ", "            #B# ", "           #BB# ", "     #######BB# ",
    "     #BBBBBBB#  ", "     ########   ", "                ", "                ",
};

const char* const kTurnRight[16] = {
    "                ", "          #     ", "          ##    ", "    #######B#   ",
    "  #BBBBBBBBBB#  ", "  #BB######B#   ", " #BB#     ##    ", " #B#      #     ",
    " #B#            ", " #B#            ", " #BB#           ", " #BB#######     ",
    "  #BBBBBBB#     ", "   ########     ", "                ", "                ",
};

const char* const kSwing[16] = {
    "                ", "                ", "                ", "   #        #   ",
    "  ##        ##  ", " #B##########B# ", "#BBBBBBBBBBBBBB#", " #B##########B# ",
    "  ##        ##  ", "   #        #   ", "                ", "                ",
    "                ", "                ", "                ", "                ",
};

const char* const kStop[16] = {
    "                ", "                ", "                ", "   ##########   ",
    "   #RRRRRRRR#   ", "   #RRRRRRRR#   ", "   #RRRRRRRR#   ", "   #RRRRRRRR#   ",
    "   #RRRRRRRR#   ", "   #RRRRRRRR#   ", "   #RRRRRRRR#   ", "   #RRRRRRRR#   ",
    "   ##########   ", "                ", "                ", "                ",
};

const char* const kPlayForward[16] = {
    "                ", "                ", "    ##          ", "    #B##        ",
    "    #BBB##      ", "    #BBBBB##    ", "    #BBBBBBB##  ", "    #BBBBBBBBB# ",
    "    #BBBBBBB##  ", "    #BBBBB##    ", "    #BBB##      ", "    #B##        ",
    "    ##          ", "                ", "                ", "                ",
};

const char* const kPlayBackward[16] = {
    "                ", "                ", "          ##    ", "        ##B#    ",
    "      ##BBB#    ", "    ##BBBBB#    ", "  ##BBBBBBB#    ", " #BBBBBBBBB#    ",
    "  ##BBBBBBB#    ", "    ##BBBBB#    ", "      ##BBB#    ", "        ##B#    ",
    "          ##    ", "                ", "                ", "                ",
};

platform::ui::ResourceTable BuildButtonIcons()
{
    platform::ui::ResourceTable table;
    table.icons[IDI_BUTTON_RULER] = IconFromPicture(kRuler);
    table.icons[IDI_BUTTON_DRAG] = IconFromPicture(kDrag);
    table.icons[IDI_BUTTON_ZOOM_OUT] = IconFromPicture(kZoomOut);
    table.icons[IDI_BUTTON_ZOOM_IN] = IconFromPicture(kZoomIn);
    table.icons[IDI_BUTTON_DELETE] = IconFromPicture(kDelete);
    table.icons[IDI_BUTTON_EDIT] = IconFromPicture(kEdit);
    table.icons[IDI_BUTTON_UP] = IconFromPicture(kUp);
    table.icons[IDI_BUTTON_DOWN] = IconFromPicture(kDown);
    table.icons[IDI_BUTTON_TILT_UP] = IconFromPicture(kTiltUp);
    table.icons[IDI_BUTTON_TILT_DOWN] = IconFromPicture(kTiltDown);
    table.icons[IDI_BUTTON_TURN_LEFT] = IconFromPicture(kTurnLeft);
    table.icons[IDI_BUTTON_TURN_RIGHT] = IconFromPicture(kTurnRight);
    table.icons[IDI_BUTTON_SWING] = IconFromPicture(kSwing);
    table.icons[IDI_BUTTON_STOP] = IconFromPicture(kStop);
    table.icons[IDI_BUTTON_PLAY_FORWARD] = IconFromPicture(kPlayForward);
    table.icons[IDI_BUTTON_PLAY_BACKWARD] = IconFromPicture(kPlayBackward);
    return table;
}

const platform::ui::ResourceRegistrar s_buttonIcons(BuildButtonIcons());

}  // namespace
