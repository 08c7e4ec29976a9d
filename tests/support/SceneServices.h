#pragma once

#include "shell/Game.h"
#include "support/TempFolder.h"

// The game as the run has it after its preparation, with a window of no
// display and the audio engine mixing offline: the shipped Content/ tree as
// the working folder, its key mappings and banks loaded.
class SceneServices
{
public:
    SceneServices();
    ~SceneServices();
    SceneServices(const SceneServices&) = delete;
    SceneServices& operator=(const SceneServices&) = delete;

    // One frame of one step.
    void Frame();

private:
    WorkingDirectory workingDirectory;
    Game* game = nullptr;
};
