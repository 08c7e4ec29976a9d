#include <cstdio>

// Entry point. The command line is ignored.
int main()
{
    std::puts("Game: the shell is not built yet.");
    return 0;
}
