#pragma once

#include "appsvc/Win32Api.h"

// Offers a keyboard (0x100 to 0x109) or mouse (0x200 to 0x20E) message to the framework windows on
// the way from the message's window up to its first top-level ancestor: each window marked with
// FRAMEWORK_MAGIC in its user-data word is sent VM_PRETRANSLATE and takes the message by answering
// FRAMEWORK_MAGIC. True when one took it. Other messages, and thread messages, are never taken.
bool FrameworkPreTranslate(MSG* msg);

// True for the keyboard and mouse messages that pre-translation considers.
bool IsPreTranslatedMessage(UINT message);
