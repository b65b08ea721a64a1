// The resource image embedded into a program at build time.
//
// quill_embed_resources (cmake/Quill.cmake) generates a source file that
// defines quillProgramResources over the bytes of a PE image (a resource
// library). The module services declare the symbol weak: in a program
// without that file, and in the shared libraries, it is absent, and the
// program's own module has no resources.
#pragma once

#include <cstddef>

struct QuillProgramResources {
    const unsigned char* data;
    std::size_t size;
};
