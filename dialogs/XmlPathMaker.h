// Makes the elements of an absolute element path ("/A/B/C") that a file
// lacks, so that a value can be written at a path the file never had.
#pragma once

#include "platform/base/Strings.h"

class CECGXMLParser;

// TRUE when the element exists afterwards.
BOOL EnsureElementPath(CECGXMLParser& xml, const CString& path);
