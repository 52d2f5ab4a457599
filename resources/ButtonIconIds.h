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
// The exercise screens' strips: the 3D view's tilt, turn and swing buttons
// and the time-step strip's playback buttons.
#define IDI_BUTTON_TILT_UP 5
#define IDI_BUTTON_PLAY_BACKWARD 162
#define IDI_BUTTON_STOP 163
#define IDI_BUTTON_PLAY_FORWARD 164
#define IDI_BUTTON_TURN_RIGHT 165
#define IDI_BUTTON_TURN_LEFT 166
#define IDI_BUTTON_SWING 167
#define IDI_BUTTON_TILT_DOWN 170
