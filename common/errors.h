// Error reports and the system's texts for Win32 error codes.
//
// A report is logged as "ERROR: <text>\n" at the given level (written only
// when the log's level lets it through) and, when asked, shown in a message
// box captioned "Error" that blocks until it is closed.
#pragma once

#include <string>

void reportError(const char* text, int level, bool showBox);
void reportErrorW(const wchar_t* text, int level, bool showBox);
void reportErrorStr(std::string text, int level, bool showBox);
void reportErrorWStr(std::wstring text, int level, bool showBox);

// The process-wide error flag, 0 at start.
void setErrorFlag(int value);
int errorFlag();

// The system's own text for a code, its line break kept; empty where the
// system has none.
std::string systemMessage(unsigned long code);
// "<operation> failed with error <code>: <system text>" for the calling
// thread's last error, read before anything else can change it.
std::string lastErrorText(const char* operation);
// "Error <code>: <system text>". The system text keeps its line break; where
// the system has none the result ends after the colon and its blank.
std::string systemErrorText(int code);
// "<name> failed with error <code>: <system text>" for a given code.
std::string failureText(const char* name, unsigned long code);
