// Built into every program of a sanitizer build that links the platform.
//
// Fontconfig keeps parts of its configuration and of the patterns Cairo
// asks it for in storage it never frees and no longer points to; the leak
// checker would fail every program that draws text. Only fontconfig's own
// allocations are excused. Weak, so that another part of the layer may
// give the checker a longer list instead.
extern "C" __attribute__((weak, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
