// Writes the integrator's reference: klt_methods_doc docs/methods.md
#include <cstdio>
#include <exception>
#include <fstream>

#include "tools/methods_doc/method_docs.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.md\n", argv[0]);
        return 2;
    }
    try {
        const std::string md = klt::docs::RenderReference(klt::docs::Classes());
        std::ofstream out(argv[1], std::ios::binary);
        out << md;
        if (!out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
