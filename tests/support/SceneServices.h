#pragma once

#include "shell/HeadlessGame.h"
#include "support/TempFolder.h"

// The game as the run has it after its preparation, without a window: the
// shipped Content/ tree as the working folder, its key mappings and banks
// loaded, on a headless game.
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
    HeadlessGame* headless = nullptr;
};
