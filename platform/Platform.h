// Everything the system's code takes from the platform layer. Used as the
// precompiled header of the platform and of the library.
#pragma once

#include "platform/base/Base.h"
