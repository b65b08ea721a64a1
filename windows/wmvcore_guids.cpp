// The interface identifiers of the Windows Media format runtime: mingw-w64
// declares them in its headers but has no library that defines them.
#include <initguid.h>

#include <wmsdk.h>
