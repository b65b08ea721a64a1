// Critical sections and debugger output.
#pragma once

#include "platform/core/types.h"

// Opaque storage for a recursive lock; the layer keeps its own lock inside.
// Initialize before the first Enter, Delete after the last Leave.
struct CRITICAL_SECTION {
    alignas(16) unsigned char opaque[64];
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
// Enters without waiting: FALSE, and nothing held, while another thread
// holds the section.
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);

// There is no debugger to listen on Linux: the text goes to standard error
// when the environment variable QUILLORY_DEBUG_OUTPUT is set and not empty,
// and nowhere otherwise. Standard error is a terminal or a log, so both forms
// are written as UTF-8: narrow text read as code page 1252, wide text as it
// is (not through the ANSI code page as Windows would). Nothing is added: the
// caller supplies the line break.
void OutputDebugStringA(LPCSTR text);
void OutputDebugStringW(LPCWSTR text);
