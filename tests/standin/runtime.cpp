// What the compiler expects of a C++ runtime, over msvcrt: the stand-in links no MSVC runtime.
#include "win.h"

extern "C" int _fltused = 0;

void* operator new(unsigned size) {
    return malloc(size ? size : 1);
}
void* operator new[](unsigned size) {
    return malloc(size ? size : 1);
}
void operator delete(void* p) {
    free(p);
}
void operator delete(void* p, unsigned) {
    free(p);
}
void operator delete[](void* p) {
    free(p);
}
void operator delete[](void* p, unsigned) {
    free(p);
}
