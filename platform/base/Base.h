// The base layer: Win32 types, strings, objects and kernel services.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/base/CodePage.h"
#include "platform/base/Object.h"
#include "platform/base/MessageBox.h"
