// noma: the program entry. The host layer brings up the window and the program thread.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help")) {
            std::puts("usage: noma [--data DIR] [--headless] [--input FILE] [--scale N] "
                      "[--fullscreen]");
            return 0;
        }
    }
    std::fprintf(stderr, "noma: the host layer is not built yet\n");
    return 0;
}
