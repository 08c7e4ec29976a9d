#define SDL_MAIN_HANDLED
#include "tools/ContentChecker.h"

#include <cstdio>
#include <exception>

// Checks a Content tree and prints every problem, one line each, then the
// counts. Usage: ContentCheck [FOLDER], where FOLDER holds Content/ (the
// working directory by default). Exits 1 when the game would not start.
int main(int argc, char** argv)
{
    if (argc > 2)
    {
        std::fprintf(stderr, "usage: ContentCheck [folder holding Content/]\n");
        return 2;
    }
    ContentChecker checker;
    try
    {
        checker.Check(argc == 2 ? argv[1] : ".");
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "ContentCheck: %s\n", error.what());
        return 2;
    }
    for (const ContentChecker::Problem& problem : checker.problems)
        std::printf("%s: %s\n", problem.error ? "error" : "warning", problem.text.c_str());
    std::printf("%d errors, %d warnings\n", checker.ErrorCount(), checker.WarningCount());
    return checker.ErrorCount() > 0 ? 1 : 0;
}
