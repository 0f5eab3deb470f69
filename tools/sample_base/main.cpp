// Writes the sample information base: klt_sample_base examples/base
#include <cstdio>

#include "text/cp1251.h"
#include "tools/sample_base/sample_base.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIRECTORY\n", argv[0]);
        return 2;
    }
    // The file layer takes host paths (CP1251) and turns them back into the UTF-8 of the disk.
    if (!klt::sample::WriteSampleBase(klt::text::Utf8ToCp1251(argv[1]))) {
        std::fprintf(stderr, "cannot write the sample base into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
