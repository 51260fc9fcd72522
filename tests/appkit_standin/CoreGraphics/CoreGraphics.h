#pragma once
#include "cg_rect.h"
typedef const struct __CFDictionary* CFDictionaryRef;
CFDictionaryRef CGSessionCopyCurrentDictionary(void);
void CFRelease(const void* object);
