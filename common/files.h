// Text lines and files.
//
// Paths are narrow text in the ANSI code page, in Windows form. The line
// readers read from a stream the caller opened and closes; they do not tell
// an empty line from the end of the stream, the stream's end-of-file state
// does.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The next line without its line end ("\n" or "\r\n"); a lone "\r" stays.
std::string& readLine(std::FILE* stream, std::string& line);
// The same into buffer, reading at most length bytes: a line that fits
// with its line end is given whole and its line end consumed (the NUL takes
// the place of the line feed, or of a carriage return before it); of a
// longer line length - 1 bytes, and the next call goes on with it. Nothing
// is written for a length below 1.
char* readLineBuf(std::FILE* stream, char* buffer, int length);
// Wide text in the ANSI code page, up to 1023 characters, without its line
// feed. At the end of the stream line is left as it was.
std::wstring& readLineW(std::FILE* stream, std::wstring& line);
// At most length - 1 characters; an empty buffer at the end of the stream.
wchar_t* readLineBufW(std::FILE* stream, wchar_t* buffer, int length);
// The next line that does not begin with "#".
std::string& readLineSkipComments(std::FILE* stream, std::string& line);

// Appends the full path of every file in directory whose name matches
// pattern; with recursive, the files of each sub-directory (depth first)
// come before a directory's own files, and a sub-directory that is one of
// the folders the search came down through (reached again by a link) is not
// entered.
std::vector<std::string>& findFiles(const std::string& pattern, const std::string& directory,
                                    std::vector<std::string>& files, bool recursive);

bool fileExists(const std::string& path);
bool fileIsWritable(const std::string& path);
bool fileIsReadable(const std::string& path);
bool fileIsReadWrite(const std::string& path);

// "D:\x\y.txt" gives "D:", "\x\", "y" and ".txt".
void splitPath(const std::string& path, std::string& drive, std::string& directory,
               std::string& name, std::string& extension);
// "y.txt" with the extension, "y" without.
std::string fileNameOf(const std::string& path, bool withExtension);
// "D:\x\" with the drive, "\x\" without.
std::string directoryOf(const std::string& path, bool withDrive);

// True when the whole source was copied; a destination written only in part
// is removed.
bool copyFileBytes(const std::string& source, const std::string& destination);
bool removeFile(const std::string& path);
// The size in bytes; 0 when the file cannot be examined.
long fileSize(const std::string& path);
// The user's desktop directory; empty when it is not known.
std::string desktopDirectory();
