// Helpers of the module and resource tests: the test data made by the
// build, files in a scratch folder, and a walk through a PE image's
// resource tree to find the fields a test damages.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"
#include "platform/core/types.h"

namespace moduletesting {

using Bytes = std::vector<BYTE>;

// A file of the build's test data, in UTF-8 for the host's file access;
// LoadLibraryA takes it through ansiPath.
using testsupport::testData;
using testsupport::ansiPath;
using testsupport::readBytes;
using testsupport::writeBytes;

using testsupport::ScratchFolder;

DWORD get32(const Bytes& bytes, std::size_t offset);
void put16(Bytes& bytes, std::size_t offset, unsigned value);
void put32(Bytes& bytes, std::size_t offset, DWORD value);

// Offsets in a PE image as the format defines them.
struct Layout {
    std::size_t fileHeader;       // after "PE\0\0"
    std::size_t optionalHeader;
    std::size_t dataDirectories;
    std::size_t sectionTable;
    std::size_t resources;        // file offset of the resource tree's root
};
Layout layoutOf(const Bytes& image);

// File offset of entry index of the directory at directory (a file offset).
std::size_t entryAt(std::size_t directory, std::size_t index);
// File offset of the subdirectory or data entry that an entry points to.
std::size_t targetOf(const Bytes& image, const Layout& layout, std::size_t entry);

// The same image as PE32+ (the optional header of 64-bit images).
Bytes toPe32Plus(const Bytes& image);

}  // namespace moduletesting
