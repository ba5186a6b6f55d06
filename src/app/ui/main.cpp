// Program start-up. The main window is not built yet; say so instead of pretending.
#include <cstdio>

int main() {
    std::fputs("Tesmira: the main window is not built yet.\n", stderr);
    return 1;
}
