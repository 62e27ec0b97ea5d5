// Linked into every test program of a sanitizer build: leaks of third-party
// libraries that no caller can avoid.
//
// fontconfig loses blocks while it parses its configuration files on first
// use; the font cache of winport's text drawing starts it.

extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
