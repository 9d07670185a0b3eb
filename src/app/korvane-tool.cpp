#include <cstdio>

int main() {
    std::fputs("usage: korvane-tool info|text|pack|convert|colour ...\n", stderr);
    return 2;
}
