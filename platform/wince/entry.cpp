// The image's entry point. The device's loader starts the primary thread there with the
// four values a desktop C runtime would hand to WinMain, the command line in UTF-16;
// coredll supplies the C functions, so there is no runtime to start. Zarvic does not read
// its command line. Returning ends the primary thread and with it the process.
#include "wince_platform.h"

// The linker's table of static constructors: -1, the constructors, 0. They run last to
// first, as the desktop runtime runs them. (There are no static destructors: registering
// one would need atexit, which the link refuses.)
extern "C" void (*__CTOR_LIST__[])(void);

static void RunStaticConstructors(void) {
    int count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
    for (int i = count; i >= 1; --i) __CTOR_LIST__[i]();
}

extern "C" int WinMainCRTStartup(HINSTANCE instance, HINSTANCE previous, LPWSTR, int show) {
    RunStaticConstructors();
    return WinMain(instance, previous, NULL, show);
}
