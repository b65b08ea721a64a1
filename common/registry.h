// Registry access by a key path whose first part may name the root key:
// "HKEY_LOCAL_MACHINE\SOFTWARE\...", "HKEY_USERS\...", "HKEY_CURRENT_USER\..."
// (case-sensitive); any other path is a key under HKEY_LOCAL_MACHINE. String
// values are REG_SZ. Results are Win32 error codes (0 = success) or booleans;
// nothing is logged.
#pragma once

bool registryKeyExists(const char* keyPath);
// The value's name compares without regard to case; names of 100 characters
// and more are never found.
bool registryValueExists(const char* keyPath, const char* valueName);
// 0 when the key was created or existed already.
long registryCreateKey(const char* keyPath);
// Replaces *text (null, or a block from an earlier call, which is freed) with
// a zero-filled block that holds the value and a terminating zero even when
// the stored value has none. The caller frees it with free(). When the key
// cannot be opened *text is left as it was.
long registryReadString(const char* keyPath, const char* valueName, char** text);
// The key must exist.
long registryWriteString(const char* keyPath, const char* valueName, const char* text);
