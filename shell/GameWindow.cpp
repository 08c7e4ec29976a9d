#include "shell/GameWindow.h"

#include <stdexcept>

namespace
{
GameWindow::Opener opener = nullptr;
} // namespace

GameWindow* GameWindow::Open(int width, int height, DrawingPath path, bool waitForRetrace)
{
    if (!opener)
        throw std::runtime_error("no window can be opened: no platform's layer is installed");
    return opener(width, height, path, waitForRetrace);
}

void GameWindow::SetOpener(Opener chosen)
{
    opener = chosen;
}
