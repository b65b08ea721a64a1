// The one way into the platform: the Windows services that the system uses.
//
// On Windows this is the SDK. Elsewhere it is our own layer, which provides
// the same names and the behaviour our code relies on, backed by Linux
// libraries. Nothing above the layer includes a Linux header for a service
// that is declared here.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>
#include <dsound.h>
#include <objbase.h>
#include <wmsdk.h>
#include <shlobj.h>
#include <shellapi.h>
#include <direct.h>
#include <io.h>
#include <mbstring.h>
#include <share.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/types.h>
#define QUILL_RAND_MAX RAND_MAX
#else
#include "platform/core/types.h"
#include "platform/core/com.h"
#include "platform/core/handle.h"
#include "platform/core/time.h"
#include "platform/core/random.h"
#include "platform/core/waveformat.h"
#include "platform/text/crt.h"
#include "platform/core/errortext.h"
#include "platform/files/fileio.h"
#include "platform/files/crtfiles.h"
#include "platform/files/directory.h"
#include "platform/registry/registry.h"
#include "platform/shell/shell.h"
#include "platform/core/localmemory.h"
#include "platform/module/module.h"
#include "platform/core/sync.h"
#include "platform/text/text.h"
#include "platform/window/messagebox.h"
#include "platform/files/file.h"
#include "platform/mp3/acm.h"
#include "platform/mp3/cominit.h"
#include "platform/mp3/comstream.h"
#include "platform/mp3/globalmemory.h"
#include "platform/mp3/mpeglayer3.h"
#include "platform/mp3/wmreader.h"
#include "platform/sound/dsound.h"
#include "platform/gdi/dc.h"
#include "platform/gdi/draw.h"
#include "platform/gdi/region.h"
#include "platform/gdi/text.h"
#include "platform/gdi/system.h"
#include "platform/window/window.h"
#include "platform/window/message.h"
#include "platform/window/paint.h"
#include "platform/window/image.h"
#include "platform/process/process.h"
#endif
