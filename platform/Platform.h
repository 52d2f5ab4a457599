// Everything the system's code takes from the platform layer. Used as the
// precompiled header of the platform and of the library.
#pragma once

#include "platform/base/Base.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Brush.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Bitmap.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/framework/Document.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/framework/Dialog.h"
