#pragma once

#include "support/TempFolder.h"

class Game;
struct SDL_Surface;

// The game's services as the run has them after its preparation, without a
// window: textures on a software renderer, the audio engine rendering
// offline, and the shipped Content/ tree as the working folder. Deleted in the
// game's tear-down order.
class SceneServices
{
public:
    SceneServices();
    ~SceneServices();
    SceneServices(const SceneServices&) = delete;
    SceneServices& operator=(const SceneServices&) = delete;

    // One frame of one step: the frame copy, then both passes.
    void Frame();

private:
    WorkingDirectory workingDirectory;
    Game* game = nullptr;
    SDL_Surface* surface = nullptr;
};
