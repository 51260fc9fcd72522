// The rectangle type and its accessors come from CoreGraphics itself on Apple platforms.
#pragma once

#include <CoreGraphics/CGGeometry.h>
