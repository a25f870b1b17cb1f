// kestrovane-cli: headless simulate, convert and inspect.
#include <cstdio>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::puts("kestrovane-cli: no commands yet");
    return 0;
}
