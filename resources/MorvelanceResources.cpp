// The library's own resources: its cursors and its dialog templates (the
// embedded resource scripts), registered with the module that holds them
// while the library loads.
#include <string>
#include <vector>

#include "platform/ui/windowing/Resources.h"
#include "resources/EmbeddedScripts.h"
#include "resources/ResourceIds.h"

namespace {

// Cursors are drawn as text pictures: '#' black, '.' white, anything else
// transparent, 32 × 32 pixels.
platform::ui::ResourceImage CursorFromPicture(const char* const rows[], int rowCount, int hotX, int hotY)
{
    platform::ui::ResourceImage image;
    image.width = 32;
    image.height = 32;
    image.hotX = hotX;
    image.hotY = hotY;
    image.argb.assign(32 * 32, 0x00000000u);
    for (int y = 0; y < rowCount && y < 32; ++y) {
        const std::string row = rows[y];
        for (int x = 0; x < static_cast<int>(row.size()) && x < 32; ++x) {
            if (row[x] == '#') image.argb[y * 32 + x] = 0xFF000000u;
            if (row[x] == '.') image.argb[y * 32 + x] = 0xFFFFFFFFu;
        }
    }
    return image;
}

const char* const kHand[] = {
    "     ##",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..###",
    "    #..#..###",
    "    #..#..#..##",
    " ## #..#..#..#.#",
    "#..##........#.#",
    "#...#..........#",
    " #.............#",
    "  #............#",
    "  #...........#",
    "   #..........#",
    "   #.........#",
    "    #........#",
    "    #........#",
    "    ##########",
};

// The divider cursor: a caliper leg between two arrowheads, pointing where
// a divider moves; the hot spot is on the leg.
const char* const kDivider[] = {
    "       ###",
    "       #.#",
    "       #.#",
    "       #.#",
    "   #   #.#   #",
    "  ##   #.#   ##",
    " #.#####.#####.#",
    "#...............#",
    " #.#####.#####.#",
    "  ##   #.#   ##",
    "   #   #.#   #",
    "       #.#",
    "       #.#",
    "       #.#",
    "       ###",
};

const char* const kMagnifier[] = {
    "    ####",
    "  ##....##",
    " #........#",
    " #........#",
    "#..........#",
    "#..........#",
    "#..........#",
    "#..........#",
    " #........#",
    " #........##",
    "  ##....######",
    "    ####  #####",
    "           #####",
    "            #####",
    "             ####",
    "              ##",
};

const char* const kDraw[] = {
    "##",
    "#.#",
    " #.#",
    "  #..#",
    "   #...#",
    "    #...#",
    "     #...#",
    "      #...#",
    "       #...#",
    "        #...#",
    "         #...#",
    "          #..##",
    "           ####",
    "            ##",
};

template <size_t N> int Rows(const char* const (&)[N])
{
    return static_cast<int>(N);
}

platform::ui::ResourceTable BuildResourceTable()
{
    platform::ui::ResourceTable table;
    table.cursors[IDC_CURSOR_HAND] = CursorFromPicture(kHand, Rows(kHand), 6, 1);
    table.cursors[IDC_CURSOR_DIVIDER] = CursorFromPicture(kDivider, Rows(kDivider), 8, 7);
    table.cursors[IDC_CURSOR_MAG] = CursorFromPicture(kMagnifier, Rows(kMagnifier), 5, 5);
    table.cursors[IDC_CURSOR_DRAW] = CursorFromPicture(kDraw, Rows(kDraw), 0, 0);
    CompileEmbeddedScriptsOrStop(table);
    return table;
}

const platform::ui::ResourceRegistrar s_resources(BuildResourceTable());

}  // namespace
