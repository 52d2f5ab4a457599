// The base layer: Win32 types, strings, objects, collections and kernel services.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/base/CodePage.h"
#include "platform/base/Object.h"
#include "platform/base/Collections.h"
#include "platform/base/DateTime.h"
#include "platform/base/Kernel.h"
#include "platform/base/File.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/VersionInfo.h"
