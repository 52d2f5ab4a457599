// Ids of the icons the owner-drawn buttons show (resources/ButtonIcons.cpp).
#pragma once

#define IDI_BUTTON_RULER 110
#define IDI_BUTTON_DRAG 111
#define IDI_BUTTON_ZOOM_OUT 112
#define IDI_BUTTON_ZOOM_IN 113
#define IDI_BUTTON_DELETE 115
#define IDI_BUTTON_EDIT 116
#define IDI_BUTTON_UP 139
#define IDI_BUTTON_DOWN 140
