// The one way into the platform: the Windows services that the system uses.
//
// On Windows this is the SDK. Elsewhere it is our own layer, which provides
// the same names and the behaviour our code relies on, backed by Linux
// libraries. Nothing above the layer includes a Linux header for a service
// that is declared here.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <mbstring.h>
#include <share.h>
#include <stdio.h>
#else
#include "platform/types.h"
#include "platform/crt.h"
#include "platform/errortext.h"
#include "platform/fileio.h"
#include "platform/localmemory.h"
#include "platform/module.h"
#include "platform/sync.h"
#include "platform/text.h"
#endif
